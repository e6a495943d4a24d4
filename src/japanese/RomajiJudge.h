#pragma once
#include "PhraseJudge.h"
#include "RomajiTable.h"

#include <string>
#include <vector>

// Romaji typing: every spelling still possible is kept, so the learner may mix
// Hepburn, Kunrei and Nihon-shiki freely; the guide follows the spelling they took.
class RomajiJudge : public PhraseJudge {
public:
    void reset(const QString& reading) override;
    KeyVerdict press(int vk, bool shift) override;
    bool finished() const override { return finished_; }
    KeyStroke guide() const override;
    QString typedText() const override { return QString::fromLatin1(typed_); }
    QString remainingText() const override { return QString::fromLatin1(remaining()); }
    QString remainingReading() const override;
    int units() const override { return int(text_.size()); }
    // Feeds a letter directly (tests and the fuzzer).
    bool pressChar(char c);
    std::string remaining() const;

private:
    struct Hypothesis {
        int at = 0;     // the kana the option starts at
        int option = 0; // index into options_[at]
        int pos = 0;    // letters of the option typed
    };
    void expand(int at, std::vector<Hypothesis>& out);

    std::u16string text_;
    QString shown_; // text_ as the reading writes it
    std::vector<std::vector<RomajiOption>> options_;
    std::vector<Hypothesis> live_;
    std::string typed_;
    bool finished_ = true;
};
