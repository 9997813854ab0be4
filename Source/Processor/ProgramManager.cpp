#include "Processor/ProgramManager.h"
#include "Model/FactoryBank.h"
#include "Model/Enumeration.h"
#include "Model/PluginDatabase.h"
#include "Processor/HostParameter.h"
#include "Processor/PluginProcessor.h"

#include <unordered_set>

namespace
{
    // A program's name, read under the callback lock: a host restoring a state renames the
    // current program on its own thread under that lock.
    juce::String nameOf (QuenbyAudioProcessor& processor, const PluginProgram& program)
    {
        const juce::ScopedLock lock (processor.getCallbackLock());
        return program.getName();
    }

    using Texts = PluginProgram::Texts;

    // A value the window changed in one program. The changes of one gesture coalesce into
    // one step: the value before the first and the value after the last.
    class EditStep : public juce::UndoableAction
    {
    public:
        EditStep (ProgramManager& m, PluginProgram& p, int i, float b, float a, bool done)
            : manager (m), program (p), index (i), before (b), after (a), alreadyDone (done) {}

        // The edit path has made the change when the step is recorded.
        bool perform() override
        {
            if (! std::exchange (alreadyDone, false))
                manager.applyValue (program, index, after);

            return true;
        }

        bool undo() override
        {
            manager.applyValue (program, index, before);
            return true;
        }

        int getSizeInUnits() override     { return (int) sizeof (*this); }

        juce::UndoableAction* createCoalescedAction (juce::UndoableAction* next) override
        {
            if (auto* edit = dynamic_cast<EditStep*> (next); edit != nullptr && &edit->program == &program && edit->index == index)
                return new EditStep (manager, program, index, before, edit->after, false);

            return nullptr;
        }

    private:
        ProgramManager& manager;
        PluginProgram& program;
        const int index;
        const float before, after;
        bool alreadyDone;
    };

    // Another program made current.
    class SwitchStep : public juce::UndoableAction
    {
    public:
        SwitchStep (ProgramManager& m, PluginProgram* f, PluginProgram* t, bool stop) : manager (m), from (f), to (t), stopNotes (stop) {}

        bool perform() override     { return switchTo (to); }
        bool undo() override        { return switchTo (from); }
        int getSizeInUnits() override     { return (int) sizeof (*this); }

    private:
        bool switchTo (PluginProgram* program)
        {
            if (! manager.contains (program))
                return false;

            manager.switchTo (program, stopNotes);
            return true;
        }

        ProgramManager& manager;
        PluginProgram* const from;
        PluginProgram* const to;
        const bool stopNotes;
    };

    // Programs appended to the list, the first of them made current ("New", "Copy", an
    // import), or the current program kept (restoring factory programs). While undone, the
    // step owns them.
    class AddStep : public juce::UndoableAction
    {
    public:
        AddStep (ProgramManager& m, std::vector<std::unique_ptr<PluginProgram>> toAdd, PluginProgram* previousCurrent,
                 bool makeFirstCurrent = true)
            : manager (m), owned (std::move (toAdd)), previous (previousCurrent), switchToFirst (makeFirstCurrent)
        {
            for (const auto& program : owned)
                added.push_back (program.get());
        }

        bool perform() override
        {
            return manager.changeList ([this] (PluginDatabase& database)
            {
                firstIndex = database.getNumPrograms();

                for (auto& program : owned)
                    database.insertProgram (std::move (program), database.getNumPrograms());

                owned.clear();
                return switchToFirst || database.indexOf (previous) < 0 ? added.front() : previous;
            });
        }

        bool undo() override
        {
            return manager.changeList ([this] (PluginDatabase& database)
            {
                // From the last, where they were appended (a host may have appended one since).
                for (auto program = added.rbegin(); program != added.rend(); ++program)
                {
                    const auto expected = firstIndex + (int) (added.rend() - program) - 1;
                    const auto index = database.getProgram (expected) == *program ? expected : database.indexOf (*program);

                    if (auto removed = database.removeProgram (index))
                        owned.push_back (std::move (removed));
                }

                std::reverse (owned.begin(), owned.end());
                return database.indexOf (previous) >= 0 ? previous : database.getProgram (0);
            });
        }

        int getSizeInUnits() override
        {
            return (int) (sizeof (*this) + added.size() * sizeof (PluginProgram*) + owned.size() * sizeof (PluginProgram));
        }

    private:
        ProgramManager& manager;
        std::vector<std::unique_ptr<PluginProgram>> owned;
        std::vector<PluginProgram*> added;
        PluginProgram* const previous;
        const bool switchToFirst;
        int firstIndex = 0;
    };

    // The current program taken out of the list, its successor made current. While done,
    // the step owns it; undone, it is back at its place, current again.
    class DeleteStep : public juce::UndoableAction
    {
    public:
        DeleteStep (ProgramManager& m, PluginProgram* p) : manager (m), program (p) {}

        bool perform() override
        {
            return manager.changeList ([this] (PluginDatabase& database) -> PluginProgram*
            {
                index = database.indexOf (program);

                // The first program is never deleted, so the list never runs empty.
                if (index < 1)
                    return nullptr;

                owned = database.removeProgram (index);
                return database.getProgram (juce::jmin (index, database.getNumPrograms() - 1));
            });
        }

        bool undo() override
        {
            return manager.changeList ([this] (PluginDatabase& database) { return database.insertProgram (std::move (owned), index); });
        }

        int getSizeInUnits() override     { return (int) (sizeof (*this) + sizeof (PluginProgram)); }

    private:
        ProgramManager& manager;
        PluginProgram* const program;
        std::unique_ptr<PluginProgram> owned;
        int index = -1;
    };

    // Every value of a program back to its default; undo brings the values back.
    class ResetStep : public juce::UndoableAction
    {
    public:
        ResetStep (ProgramManager& m, PluginProgram& p) : manager (m), program (p) {}

        bool perform() override
        {
            return change ([this]
            {
                for (int i = 0; i < PluginProgram::numParameters; ++i)
                    before[(size_t) i] = program.getParameter (i)->getValue();

                program.reset (true);
            });
        }

        bool undo() override
        {
            return change ([this]
            {
                for (int i = 0; i < PluginProgram::numParameters; ++i)
                    program.getParameter (i)->setValue (before[(size_t) i]);
            });
        }

        int getSizeInUnits() override     { return (int) sizeof (*this); }

    private:
        template <typename Change>
        bool change (Change&& changeValues)
        {
            auto& processor = manager.getProcessor();
            processor.stopAllNotes();
            const juce::ScopedLock lock (processor.getCallbackLock());
            changeValues();

            if (processor.state->getCurrentProgram() == &program)
                processor.synthAudioSource->parametersChanged();

            return true;
        }

        ProgramManager& manager;
        PluginProgram& program;
        std::array<float, PluginProgram::numParameters> before {};
    };

    // New texts for a program.
    class RenameStep : public juce::UndoableAction
    {
    public:
        RenameStep (ProgramManager& m, PluginProgram& p, const Texts& b, const Texts& a) : manager (m), program (p), before (b), after (a) {}

        bool perform() override     { return setTexts (after); }
        bool undo() override        { return setTexts (before); }
        int getSizeInUnits() override     { return (int) sizeof (*this); }

    private:
        bool setTexts (const Texts& texts)
        {
            {
                const juce::ScopedLock lock (manager.getProcessor().getCallbackLock());
                program.setTexts (texts);
            }

            manager.noteListChanged();
            return true;
        }

        ProgramManager& manager;
        PluginProgram& program;
        const Texts before, after;
    };
}

ProgramManager::ProgramManager (QuenbyAudioProcessor& processorToUse)
    : processor (processorToUse)
{
    for (int index = 0; index < PluginProgram::numParameters; ++index)
        if (auto* parameter = processor.getHostParameter (index))
            parameter->addListener (this);
}

ProgramManager::~ProgramManager()
{
    for (int index = 0; index < PluginProgram::numParameters; ++index)
        if (auto* parameter = processor.getHostParameter (index))
            parameter->removeListener (this);
}

PluginProgram* ProgramManager::getCurrentProgram() const
{
    return processor.state->getCurrentProgram();
}

bool ProgramManager::contains (const PluginProgram* program) const
{
    const juce::ScopedLock lock (processor.getCallbackLock());
    return program != nullptr && processor.state->database->indexOf (program) >= 0;
}

void ProgramManager::switchTo (PluginProgram* program, bool stopNotes)
{
    if (stopNotes)
        processor.stopAllNotes();

    processor.switchToProgram (program);
}

bool ProgramManager::changeList (const std::function<PluginProgram* (PluginDatabase&)>& change)
{
    processor.stopAllNotes();
    {
        const juce::ScopedLock lock (processor.getCallbackLock());
        auto* nowCurrent = change (*processor.state->database);

        if (nowCurrent == nullptr)
            return false;

        processor.switchToProgram (nowCurrent);
    }

    noteListChanged();
    return true;
}

bool ProgramManager::perform (juce::UndoableAction* step, const juce::String& name)
{
    history.beginNewTransaction (name);
    return history.perform (step);
}

void ProgramManager::selectProgram (PluginProgram* program, bool stopNotes)
{
    auto* current = getCurrentProgram();

    if (program == current || ! contains (program))
        return;

    perform (new SwitchStep (*this, current, program, stopNotes), "Load " + nameOf (processor, *program));
}

bool ProgramManager::selectProgramAt (int listIndex)
{
    PluginProgram* program = nullptr;
    {
        const juce::ScopedLock lock (processor.getCallbackLock());
        program = processor.state->database->getProgram (listIndex);
    }

    if (program == nullptr)
        return false;

    selectProgram (program, false);
    return true;
}

void ProgramManager::stepProgram (int step)
{
    processor.stopAllNotes();
    PluginProgram* target = nullptr;
    {
        const juce::ScopedLock lock (processor.getCallbackLock());
        target = processor.state->database->getProgram (processor.state->getCurrentProgramIndex() + step);
    }

    if (target != nullptr)
        selectProgram (target, true);
}

PluginProgram* ProgramManager::newProgram()
{
    std::vector<std::unique_ptr<PluginProgram>> programs;
    auto* created = programs.emplace_back (std::make_unique<PluginProgram>()).get();
    created->setTexts ({ { "New Program", "User", "No category", "No subtype", "No mode" } });

    perform (new AddStep (*this, std::move (programs), getCurrentProgram()), "New Program");
    return created;
}

PluginProgram* ProgramManager::copyProgram()
{
    std::vector<std::unique_ptr<PluginProgram>> programs;
    auto* original = getCurrentProgram();

    if (original == nullptr)
        return nullptr;

    PluginProgram* copy = nullptr;
    {
        // The copy keeps an identifier of its own: sharing the original's would make a
        // project restore or a reopened window find the wrong one of the two.
        const juce::ScopedLock lock (processor.getCallbackLock());
        copy = programs.emplace_back (PluginProgram::createCopy (*original)).get();
        copy->setId (PluginProgram::createIdentifier());
        copy->setName ("Copy of " + nameOf (processor, *original));
    }

    perform (new AddStep (*this, std::move (programs), original), "Copy " + nameOf (processor, *original));
    return copy;
}

bool ProgramManager::deleteProgram()
{
    processor.stopAllNotes();
    auto* current = getCurrentProgram();

    if (current == nullptr)
        return false;

    return perform (new DeleteStep (*this, current), "Delete " + nameOf (processor, *current));
}

void ProgramManager::resetProgram()
{
    processor.stopAllNotes();

    if (auto* current = getCurrentProgram())
        perform (new ResetStep (*this, *current), "Reset " + nameOf (processor, *current));
}

bool ProgramManager::renameProgram (PluginProgram* program, const PluginProgram::Texts& texts)
{
    PluginProgram::Texts before;
    {
        const juce::ScopedLock lock (processor.getCallbackLock());

        if (program == nullptr || processor.state->database->indexOf (program) < 0)
            return false;

        before = program->getTexts();
    }

    return before != texts && perform (new RenameStep (*this, *program, before, texts), "Rename " + before.text[0]);
}

ProgramManager::ImportResult ProgramManager::importPrograms (const juce::File& file)
{
    ImportResult result;
    auto content = PluginDatabase::readFile (file);

    if (content.unreadable.isNotEmpty())
    {
        result.error = file.getFileName() + " " + content.unreadable;
        return result;
    }

    if (content.programs.isEmpty())
    {
        result.error = file.getFileName() + " holds no programs";
        return result;
    }

    std::unordered_set<juce::String> identifiers;
    {
        const juce::ScopedLock lock (processor.getCallbackLock());
        const auto& database = *processor.state->database;

        for (int i = 0; i < database.getNumPrograms(); ++i)
            identifiers.insert (database.getProgram (i)->getId());
    }

    // An identifier already taken, in the list or by a program imported before, is replaced.
    std::vector<std::unique_ptr<PluginProgram>> programs;

    while (! content.programs.isEmpty())
    {
        std::unique_ptr<PluginProgram> program (content.programs.removeAndReturn (0));

        if (! identifiers.insert (program->getId()).second)
        {
            program->setId (PluginProgram::createIdentifier());
            identifiers.insert (program->getId());
        }

        programs.push_back (std::move (program));
    }

    result.numAdded = (int) programs.size();
    perform (new AddStep (*this, std::move (programs), getCurrentProgram()), "Import " + file.getFileName());
    return result;
}

int ProgramManager::restoreFactoryPrograms()
{
    std::vector<std::unique_ptr<PluginProgram>> missing;
    {
        const juce::ScopedLock lock (processor.getCallbackLock());
        missing = FactoryBank::copyMissingFrom (*processor.state->database);
    }

    const auto numAdded = (int) missing.size();

    if (numAdded > 0)
        perform (new AddStep (*this, std::move (missing), getCurrentProgram(), false), "Restore factory programs");

    return numAdded;
}

juce::String ProgramManager::exportPrograms (const juce::Array<PluginProgram*>& programs, const juce::File& file) const
{
    std::vector<std::unique_ptr<PluginProgram>> copies;
    {
        const juce::ScopedLock lock (processor.getCallbackLock());

        for (auto* program : programs)
            if (processor.state->database->indexOf (program) >= 0)
                copies.push_back (PluginProgram::createCopy (*program));
    }

    if (copies.empty())
        return "no program to export";

    juce::Array<const PluginProgram*> list;

    for (const auto& copy : copies)
        list.add (copy.get());

    return PluginDatabase::writeFile (file, list) ? juce::String() : "cannot write " + file.getFullPathName();
}

bool ProgramManager::undo()
{
    const bool undone = history.undo();
    noteListChanged();
    return undone;
}

bool ProgramManager::redo()
{
    const bool redone = history.redo();
    noteListChanged();
    return redone;
}

void ProgramManager::programsReplaced()
{
    history.clearUndoHistory();
    noteListChanged();
}

std::vector<ProgramManager::ListEntry> ProgramManager::listPrograms() const
{
    std::vector<ListEntry> entries;
    const juce::ScopedLock lock (processor.getCallbackLock());
    const auto& database = *processor.state->database;
    entries.reserve ((size_t) database.getNumPrograms());

    for (int i = 0; i < database.getNumPrograms(); ++i)
        entries.push_back ({ database.getProgram (i), database.getProgram (i)->getTexts() });

    return entries;
}

// A value of the current program goes through its host parameter inside a gesture of its
// own, so the host hears of it as of any change the window makes; another program's is
// stored as it is.
void ProgramManager::applyValue (PluginProgram& program, int index, float value)
{
    const juce::ScopedValueSetter<bool> applying (applyingHistory, true);
    auto* parameter = processor.getHostParameter (index);

    if (getCurrentProgram() == &program && parameter != nullptr)
    {
        parameter->beginChangeGesture();
        parameter->setFromEditor (value);
        parameter->endChangeGesture();
        return;
    }

    const juce::ScopedLock lock (processor.getCallbackLock());

    if (auto* stored = program.getParameter (index))
        stored->setValue (value);
}

void ProgramManager::parameterGestureChanged (int parameterIndex, bool gestureIsStarting)
{
    if (applyingHistory || ! juce::isPositiveAndBelow (parameterIndex, PluginProgram::numParameters))
        return;

    openGestures.set ((size_t) parameterIndex, gestureIsStarting);

    if (gestureIsStarting)
        history.beginNewTransaction ("Change " + Enumeration::getName (parameterIndex));
}

void ProgramManager::recordEdit (PluginProgram& program, int index, float before, float after)
{
    if (applyingHistory || std::memcmp (&before, &after, sizeof (float)) == 0
         || ! juce::isPositiveAndBelow (index, PluginProgram::numParameters))
        return;

    // Outside a gesture every change is a step of its own.
    if (! openGestures[(size_t) index])
        history.beginNewTransaction ("Change " + Enumeration::getName (index));

    history.perform (new EditStep (*this, program, index, before, after, true));
}
