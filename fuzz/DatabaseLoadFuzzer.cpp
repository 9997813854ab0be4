#include "FuzzEnvironment.h"
#include "Model/PluginDatabase.h"

#include <cmath>
#include <cstdint>

// Any bytes as the database file: loading must not crash and must never give a program
// a value that is not finite. Saving the result and loading it again must give the same programs.
namespace
{
    FuzzEnvironment environment;

    void checkFinite (const PluginDatabase& database)
    {
        for (int p = 0; p < database.getNumPrograms(); ++p)
        {
            const auto* program = database.getProgram (p);

            for (int i = 0; i < program->getNumParameters(); ++i)
                if (! std::isfinite (program->getParameter (i)->getValue()))
                    __builtin_trap();
        }
    }
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    const auto file = PluginDatabase::getDatabaseFile();
    file.getParentDirectory().createDirectory();

    if (! file.replaceWithData (data, size))
        return 0;

    PluginDatabase database;
    database.load();
    checkFinite (database);

    database.save();

    PluginDatabase reloaded;
    reloaded.load();

    if (reloaded.getNumPrograms() != database.getNumPrograms())
        __builtin_trap();

    for (int p = 0; p < database.getNumPrograms(); ++p)
    {
        const auto* a = database.getProgram (p);
        const auto* b = reloaded.getProgram (p);

        if (a->getId() != b->getId() || a->getName() != b->getName())
            __builtin_trap();

        for (int i = 0; i < a->getNumParameters(); ++i)
            if (a->getParameter (i)->getValue() != b->getParameter (i)->getValue())
                __builtin_trap();
    }

    return 0;
}
