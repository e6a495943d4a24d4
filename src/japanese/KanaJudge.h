#pragma once
#include "PhraseJudge.h"

#include <vector>

// Kana typing on the JIS arrangement: each kana is its key (with Shift for the small
// ones), a voiced kana its base and then ゛ or ゜. Characters the arrangement cannot
// type (letters, digits, other symbols) are left out of the run.
class KanaJudge : public PhraseJudge {
public:
    void reset(const QString& reading) override;
    KeyVerdict press(int vk, bool shift) override;
    bool finished() const override { return unit_ >= int(units_.size()); }
    KeyStroke guide() const override;
    QString typedText() const override;
    QString remainingText() const override;
    QString remainingReading() const override;
    int units() const override { return int(units_.size()); }

private:
    struct Unit {
        QChar kana;
        std::vector<KeyStroke> keys;
    };
    std::vector<Unit> units_;
    int unit_ = 0;
    int key_ = 0;
};
