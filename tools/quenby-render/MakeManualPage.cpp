// Writes quenby-render's manual page from its template, with the synopsis and the options
// taken from the option table that --help prints, so the two cannot list different options.
//   quenby-render-manual TEMPLATE OUTPUT VERSION DATE
#include "RenderOptionTable.h"

#include <fstream>
#include <iostream>
#include <sstream>

namespace
{
    bool replace (std::string& text, const std::string& placeholder, const std::string& value)
    {
        const auto position = text.find (placeholder);

        if (position == std::string::npos)
            return false;

        text.replace (position, placeholder.size(), value);
        return true;
    }
}

int main (int argc, char* argv[])
{
    if (argc != 5)
    {
        std::cerr << "usage: quenby-render-manual TEMPLATE OUTPUT VERSION DATE" << std::endl;
        return 2;
    }

    std::ifstream input (argv[1]);
    std::stringstream buffer;
    buffer << input.rdbuf();
    auto page = buffer.str();

    if (! input || ! replace (page, "@SYNOPSIS@\n", RenderOptionTable::formatManualSynopsis())
                || ! replace (page, "@OPTIONS@\n", RenderOptionTable::formatManualOptions())
                || ! replace (page, "@VERSION@", argv[3]) || ! replace (page, "@DATE@", argv[4]))
    {
        std::cerr << "quenby-render-manual: " << argv[1] << " is no manual page template with @SYNOPSIS@, @OPTIONS@, @VERSION@ and @DATE@" << std::endl;
        return 1;
    }

    std::ofstream output (argv[2]);
    output << page;

    if (! output.flush())
    {
        std::cerr << "quenby-render-manual: cannot write " << argv[2] << std::endl;
        return 1;
    }

    return 0;
}
