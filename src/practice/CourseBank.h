#pragma once
#include "Course.h"
#include "MadeUpWords.h"

#include <cstdint>
#include <memory>
#include <vector>

// What a word bank holds, shared by the bank and the lesson builder.
namespace course {

using Mask = std::uint64_t; // track indices, one bit each

struct WordBank::Data {
    struct Word {
        QString text;
        Mask mask = 0;
        std::vector<std::uint8_t> keys; // track indices pressed, Shift after its key
        int presses = 0;
    };
    std::vector<Word> words;
    std::unique_ptr<MadeUpWords> madeUp;
};

// The track indices a text presses, and whether the track can type it at all.
bool describe(Track track, WordBank::Data::Word& w);

} // namespace course
