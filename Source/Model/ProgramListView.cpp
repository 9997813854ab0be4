#include "Model/ProgramListView.h"

#include <algorithm>
#include <numeric>

void ProgramListView::setEntries (std::vector<Entry> newEntries)
{
    entries = std::move (newEntries);
    searchTexts.clear();
    searchTexts.reserve (entries.size());

    for (const auto& entry : entries)
    {
        const auto& t = entry.texts.text;
        searchTexts.push_back ((t[0] + "\n" + t[1] + "\n" + t[2] + "\n" + t[3] + "\n" + t[4]).toLowerCase());
    }

    sortEntries();
}

void ProgramListView::setSearch (const juce::String& search)
{
    words = juce::StringArray::fromTokens (search.toLowerCase(), " \t\r\n", {});
    words.removeEmptyStrings();
    filterRows();
}

void ProgramListView::setSort (int column, bool forwards)
{
    sortColumn = juce::isPositiveAndBelow (column, PluginProgram::Texts::count) ? column : -1;
    sortForwards = forwards;
    sortEntries();
}

void ProgramListView::sortEntries()
{
    order.resize (entries.size());
    std::iota (order.begin(), order.end(), 0);

    if (sortColumn >= 0)
    {
        const auto column = sortColumn;
        const auto forwards = sortForwards;

        std::stable_sort (order.begin(), order.end(), [this, column, forwards] (int a, int b)
        {
            const auto comparison = entries[(size_t) a].texts.text[column].compareNatural (entries[(size_t) b].texts.text[column], false);
            return forwards ? comparison < 0 : comparison > 0;
        });
    }

    filterRows();
}

void ProgramListView::filterRows()
{
    rows.clear();
    rows.reserve (order.size());

    for (const auto index : order)
    {
        const auto& text = searchTexts[(size_t) index];

        if (std::all_of (words.begin(), words.end(), [&text] (const juce::String& word) { return text.contains (word); }))
            rows.push_back (index);
    }
}

const ProgramListView::Entry* ProgramListView::getRow (int row) const noexcept
{
    return juce::isPositiveAndBelow (row, (int) rows.size()) ? &entries[(size_t) rows[(size_t) row]] : nullptr;
}

int ProgramListView::findRow (const PluginProgram* program) const noexcept
{
    for (size_t row = 0; row < rows.size(); ++row)
        if (entries[(size_t) rows[row]].program == program)
            return (int) row;

    return -1;
}
