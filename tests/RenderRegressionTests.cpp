#include "RenderPatterns.h"

#include <cmath>

// Every fixed pattern must render as the stored reference does, sample for sample: the
// engine may get faster, but its output may not move by more than 1e-6.
namespace
{
    constexpr float tolerance = 1.0e-6f;

    const juce::File referenceFolder { QUENBY_REFERENCE_DIR };

    struct RenderRegression : public ::testing::TestWithParam<render_patterns::Pattern> {};

    std::string patternName (const ::testing::TestParamInfo<render_patterns::Pattern>& info)
    {
        return info.param.name;
    }
}

TEST_P (RenderRegression, MatchesTheReferenceRenderSampleForSample)
{
    const auto& pattern = GetParam();
    const auto rendered = render_patterns::render (pattern);
    const auto reference = render_patterns::readReference (render_patterns::referenceFile (referenceFolder, pattern),
                                                           2, pattern.numSamples);

    ASSERT_EQ (reference.getNumSamples(), pattern.numSamples) << "missing or mis-sized reference for " << pattern.name;

    // A reference of silence would prove nothing.
    ASSERT_GT (reference.getMagnitude (0, 0, pattern.numSamples), 0.01f);

    for (int channel = 0; channel < 2; ++channel)
    {
        int mismatches = 0, first = -1;
        float largest = 0.0f;

        for (int i = 0; i < pattern.numSamples; ++i)
        {
            const auto difference = std::abs (rendered.getSample (channel, i) - reference.getSample (channel, i));

            // NaN counts as a mismatch.
            if (! (difference <= tolerance))
            {
                ++mismatches;
                first = first < 0 ? i : first;
                largest = std::isnan (difference) ? difference : juce::jmax (largest, difference);
            }
        }

        EXPECT_EQ (mismatches, 0) << "channel " << channel << ": first at sample " << first
                                  << ", largest difference " << largest;
    }
}

INSTANTIATE_TEST_SUITE_P (Patterns, RenderRegression, ::testing::ValuesIn (render_patterns::allPatterns()), patternName);

TEST (RenderRegressionPatterns, RenderTheSameTwice)
{
    const auto& pattern = render_patterns::allPatterns().front();
    const auto first = render_patterns::render (pattern);
    const auto second = render_patterns::render (pattern);

    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < pattern.numSamples; ++i)
            ASSERT_EQ (first.getSample (channel, i), second.getSample (channel, i)) << "sample " << i;
}
