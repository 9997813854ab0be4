#include "Model/Tuning.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
    const char* const nineteenEqual = "! 19-tet.scl\n!\n19 equal steps of the octave\n 19\n!\n"
                                      " 63.15789\n 126.31579\n 189.47368\n 252.63158\n 315.78947\n 378.94737\n 442.10526\n"
                                      " 505.26316\n 568.42105\n 631.57895\n 694.73684\n 757.89474\n 821.05263\n 884.21053\n"
                                      " 947.36842\n 1010.52632\n 1073.68421\n 1136.84211\n 2/1\n";

    const char* const justFifths = "Fifths\n2\n3/2 the fifth\n2\n";

    // Key 60 at 261.63 Hz is the first degree and the reference; key 61 is left out.
    const char* const middleCMapping = "! a mapping\n12\n0\n127\n60\n60\n261.63\n12\n0\nx\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n";

    double hertz (const Tuning& tuning, int note)
    {
        return tuning.getFrequencies().frequencyOf (note);
    }
}

// The frequencies a scale and a mapping give: the ratio between neighbouring keys, the
// reference key's own frequency, keys left out.
TEST (Tuning, ScalesAndMappingsGiveEachKeyItsFrequency)
{
    const struct { const char* scale; const char* mapping; int note, other; double ratio, hertzOfNote; } cases[] = {
        { nineteenEqual, "",             70, 69, std::exp2 (1.0 / 19.0), 440.0 * std::exp2 (1.0 / 19.0) },
        { nineteenEqual, "",             69 + 19, 69, 2.0,               880.0 },
        { nineteenEqual, "",             69 - 19, 49, std::exp2 (1.0 / 19.0), 220.0 },     // below the middle key
        { justFifths,    "",             61, 60, 1.5,                    440.0 / 16.0 },             // key 69 is four octaves and a fifth up
        { "",            middleCMapping, 60, 48, 2.0,                    261.63 },     // twelve equal steps, the reference moved
        { "",            middleCMapping, 62, 60, std::exp2 (2.0 / 12.0), 261.63 * std::exp2 (2.0 / 12.0) },
    };

    for (const auto& c : cases)
    {
        const auto read = Tuning::read (c.scale, c.mapping);
        ASSERT_TRUE (read.tuning.has_value()) << read.error;
        EXPECT_NEAR (hertz (*read.tuning, c.note) / hertz (*read.tuning, c.other), c.ratio, 1e-6) << c.note;
        EXPECT_NEAR (hertz (*read.tuning, c.note), c.hertzOfNote, 1e-4) << c.note;
    }

    const auto mapped = Tuning::read ("", middleCMapping);
    EXPECT_FALSE (mapped.tuning->getFrequencies().sounds (61));
    EXPECT_TRUE (mapped.tuning->getFrequencies().sounds (62));
    EXPECT_EQ (Tuning::read (nineteenEqual, "").tuning->getDescription(), "19 equal steps of the octave");

    // No texts at all is equal temperament, exactly as the engine has always tuned.
    const auto none = Tuning::read ("", "");
    EXPECT_TRUE (none.tuning->isEqualTemperament());
    EXPECT_EQ (hertz (*none.tuning, 57), 440.0 * std::pow (2.0, (57 - 69) / 12.0));
}

// What is no scale or mapping is refused with the reason.
TEST (Tuning, WhatIsNoValidScaleOrMappingIsRefusedWithTheReason)
{
    const struct { const char* scale; const char* mapping; const char* reason; } cases[] = {
        { "Only a description\n",             "", "has no number of notes" },
        { "Notes\nmany\n",                     "", "line 2 of the scale is no number of notes" },
        { "Notes\n0\n",                        "", "no number of notes from 1" },
        { "Notes\n3\n100.0\n2/1\n",            "", "promises 3 notes but lists 2" },
        { "Notes\n2\n3/0\n2/1\n",              "", "line 3 of the scale is no pitch" },
        { "Notes\n2\n-3/2\n2/1\n",             "", "line 3 of the scale is no pitch" },
        { "Notes\n1\n1.2.3\n",                 "", "line 3 of the scale is no pitch" },
        { "Notes\n1\n1/2\n",                   "", "is not above 1/1" },
        { "",  "12\n0\n127\n60\n",                 "ends before the reference key" },
        { "",  "12\n0\n200\n60\n69\n440\n12\n",    "line 3 of the keyboard mapping is not the last key (0 ... 127)" },
        { "",  "12\n0\n127\n60\n69\n-440\n12\n",   "is not the reference frequency" },
        { "",  "2\n0\n127\n60\n69\n440\n12\n0\nseven\n", "line 9 of the keyboard mapping is neither a degree nor x" },
        { "",  "2\n0\n127\n60\n61\n440\n12\n0\nx\n",     "leaves out its own reference key 61" },
    };

    for (const auto& c : cases)
    {
        const auto read = Tuning::read (c.scale, c.mapping);
        EXPECT_FALSE (read.tuning.has_value()) << c.reason;
        EXPECT_TRUE (read.error.contains (c.reason)) << read.error;
    }

    // Far keys of a wide scale stay within what an oscillator can play.
    const auto wide = Tuning::read ("Wide\n1\n100000.0\n", "");
    EXPECT_EQ (hertz (*wide.tuning, 127), 1.0e6);
    EXPECT_EQ (hertz (*wide.tuning, 0), 1.0e-3);

    EXPECT_TRUE (Tuning::read (juce::String::repeatedString ("!", Tuning::largestText + 1), "").error.contains ("larger than 64 KB"));
}
