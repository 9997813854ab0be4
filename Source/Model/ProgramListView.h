#pragma once

#include "Model/PluginProgram.h"

#include <juce_core/juce_core.h>

#include <vector>

// The rows of the program browser: the programs of the list in the order a sort chose,
// filtered by a search. The order is a view: the list itself never changes here. The
// view keeps its own copy of the texts, so rows are drawn and searched without a lock.
class ProgramListView
{
public:
    struct Entry
    {
        PluginProgram* program = nullptr;    // identifies the program; not read here
        PluginProgram::Texts texts;
    };

    // The programs in list order, as they are now.
    void setEntries (std::vector<Entry> entries);

    // Rows are the programs all of whose words (separated by blanks) appear, in any order
    // and letter case, in their name, bank, category, subtype or mode. An empty search
    // shows every program.
    void setSearch (const juce::String& search);

    // Rows in the order of one text column (0 name ... 4 mode, PluginProgram's columns),
    // compared without regard to letter case and with numbers in their natural order,
    // ties in list order; forwards ascending. A column outside 0 ... 4 is the list order.
    void setSort (int column, bool forwards);

    int getNumRows() const noexcept                     { return (int) rows.size(); }

    // The entry shown in a row, or nullptr outside the rows.
    const Entry* getRow (int row) const noexcept;

    // The row that shows the program, or -1 when none does.
    int findRow (const PluginProgram* program) const noexcept;

private:
    void sortEntries();
    void filterRows();

    std::vector<Entry> entries;
    std::vector<juce::String> searchTexts;    // per entry: its texts in lower case
    std::vector<int> order;                   // entries in sort order
    std::vector<int> rows;                    // the entries of the order that match the search
    juce::StringArray words;
    int sortColumn = -1;
    bool sortForwards = true;
};
