#pragma once

#include <string>
#include <vector>

// One option of quenby-render. The parser accepts only the options of the table, and --help
// and the manual page are written from it: a new option is a new row here (and its reading
// in RenderOptions::parse).
struct RenderOption
{
    enum class Group { rendering, listing, benchmark, information };

    const char* name;           // "--rate"
    const char* argument;       // what follows it ("HZ"), empty for a switch
    const char* description;    // one or more sentences, without a final full stop
    Group group;
    const char* shortName = ""; // "-h" beside "--help"

    bool takesValue() const     { return *argument != 0; }
};

class RenderOptionTable
{
public:
    static const std::vector<RenderOption>& getOptions();

    // The row of an option by its long or short name, or nullptr.
    static const RenderOption* find (const std::string& name);

    // The ways of calling the command, after its name: "[options] input.mid output.wav".
    static const std::vector<const char*>& getSynopses();

    // The usage lines and every option by group, wrapped at 80 columns.
    static std::string formatHelp();

    // The synopsis and the options as man-page (roff) text.
    static std::string formatManualSynopsis();
    static std::string formatManualOptions();

    static const char* getGroupTitle (RenderOption::Group group);
};
