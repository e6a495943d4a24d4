#include "RunSpeech.h"

#include "Platform.h"

namespace {

// The signs of the JIS keyboard as a learner hears them.
struct SignName {
    char c;
    const char* name;
};
constexpr SignName kSigns[] = {
    {' ', QT_TRANSLATE_NOOP("RunSpeech", "スペース")},
    {'\r', QT_TRANSLATE_NOOP("RunSpeech", "エンター")},
    {'\n', QT_TRANSLATE_NOOP("RunSpeech", "エンター")},
    {'!', QT_TRANSLATE_NOOP("RunSpeech", "感嘆符")},
    {'"', QT_TRANSLATE_NOOP("RunSpeech", "二重引用符")},
    {'#', QT_TRANSLATE_NOOP("RunSpeech", "シャープ")},
    {'$', QT_TRANSLATE_NOOP("RunSpeech", "ドル記号")},
    {'%', QT_TRANSLATE_NOOP("RunSpeech", "パーセント")},
    {'&', QT_TRANSLATE_NOOP("RunSpeech", "アンド")},
    {'\'', QT_TRANSLATE_NOOP("RunSpeech", "アポストロフィー")},
    {'(', QT_TRANSLATE_NOOP("RunSpeech", "左かっこ")},
    {')', QT_TRANSLATE_NOOP("RunSpeech", "右かっこ")},
    {'*', QT_TRANSLATE_NOOP("RunSpeech", "アスタリスク")},
    {'+', QT_TRANSLATE_NOOP("RunSpeech", "プラス")},
    {',', QT_TRANSLATE_NOOP("RunSpeech", "カンマ")},
    {'-', QT_TRANSLATE_NOOP("RunSpeech", "マイナス")},
    {'.', QT_TRANSLATE_NOOP("RunSpeech", "ピリオド")},
    {'/', QT_TRANSLATE_NOOP("RunSpeech", "スラッシュ")},
    {':', QT_TRANSLATE_NOOP("RunSpeech", "コロン")},
    {';', QT_TRANSLATE_NOOP("RunSpeech", "セミコロン")},
    {'<', QT_TRANSLATE_NOOP("RunSpeech", "小なり")},
    {'=', QT_TRANSLATE_NOOP("RunSpeech", "イコール")},
    {'>', QT_TRANSLATE_NOOP("RunSpeech", "大なり")},
    {'?', QT_TRANSLATE_NOOP("RunSpeech", "疑問符")},
    {'@', QT_TRANSLATE_NOOP("RunSpeech", "アットマーク")},
    {'[', QT_TRANSLATE_NOOP("RunSpeech", "左角かっこ")},
    {'\\', QT_TRANSLATE_NOOP("RunSpeech", "円記号")},
    {']', QT_TRANSLATE_NOOP("RunSpeech", "右角かっこ")},
    {'^', QT_TRANSLATE_NOOP("RunSpeech", "キャレット")},
    {'_', QT_TRANSLATE_NOOP("RunSpeech", "アンダースコア")},
    {'`', QT_TRANSLATE_NOOP("RunSpeech", "バッククォート")},
    {'{', QT_TRANSLATE_NOOP("RunSpeech", "左波かっこ")},
    {'|', QT_TRANSLATE_NOOP("RunSpeech", "縦線")},
    {'}', QT_TRANSLATE_NOOP("RunSpeech", "右波かっこ")},
    {'~', QT_TRANSLATE_NOOP("RunSpeech", "チルダ")},
};

char drillChar(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool blank(char c) {
    return c == ' ' || c == '\r' || c == '\n' || c == '\0';
}

} // namespace

SpeechChoice speechChoice(const std::function<QString(const QString& key)>& setting) {
    SpeechChoice c;
    c.on = setting(kSpeechOnSetting) == QStringLiteral("1");
    c.words = setting(kSpeechFollowSetting) == QStringLiteral("word");
    return c;
}

QString RunSpeech::language() {
    return tr("ja", "the language the speech of these texts is in, as a BCP 47 name");
}

QString RunSpeech::keyName(char c) {
    if (c >= 'a' && c <= 'z') return QString(QChar(c - 'a' + 'A'));
    if (c >= 'A' && c <= 'Z') return tr("大文字の%1").arg(QChar(c));
    for (const SignName& s : kSigns)
        if (s.c == c) return tr(s.name);
    return QString(QChar(c));
}

QString RunSpeech::textEnd(double charsPerSecond, int misses) {
    return tr("終了。毎秒%1文字、ミス%2回。")
        .arg(QString::number(charsPerSecond, 'f', 1))
        .arg(misses);
}

QString RunSpeech::japaneseEnd(double keysPerSecond, double kanaPerMinute, int misses) {
    return tr("終了。毎秒%1キー、毎分%2かな、ミス%3回。")
        .arg(QString::number(keysPerSecond, 'f', 1), QString::number(kanaPerMinute, 'f', 0))
        .arg(misses);
}

QString RunSpeech::newKey(const QString& key) {
    return tr("次の新しいキーは%1です。").arg(key);
}

void RunSpeech::say(const QString& text, bool japanese) {
    Platform::get().say(text, japanese ? QStringLiteral("ja") : language());
}

void RunSpeech::begin(const QString& lead) {
    on_ = choice ? choice() : SpeechChoice{};
    end_.clear();
    running_ = true;
    if (!on_.on) return;
    const QString start = tr("練習を始めます。ホームポジションに指を置いてください。");
    say(lead.isEmpty() ? start : lead + tr("。") + start);
}

void RunSpeech::textAt(const char* text, int pos) {
    if (!on_.on) return;
    if (!on_.words) {
        say(keyName(text[pos]));
        return;
    }
    // A word is said as its first key is due; the blanks between words are not.
    if (blank(text[pos]) || (pos > 0 && !blank(text[pos - 1]))) return;
    int end = pos;
    while (!blank(text[end])) ++end;
    say(QString::fromLatin1(text + pos, end - pos));
}

// The drill prompts keys, not characters: its capitals are its letter keys.
void RunSpeech::drillKey(char c) {
    if (on_.on) say(keyName(drillChar(c)));
}

void RunSpeech::drillMiss(char due) {
    missChar(drillChar(due));
}

void RunSpeech::missChar(char due) {
    if (on_.on) say(tr("ミス、%1").arg(keyName(due)));
}

void RunSpeech::miss(const QString& dueName, bool japanese) {
    if (!on_.on) return;
    // In Japanese practice the voice is Japanese, whatever the program's language: the
    // key due may be a kana.
    say(tr("ミス、%1").arg(dueName), japanese);
}

void RunSpeech::phrase(const QString& reading) {
    if (on_.on) say(reading, true);
}

void RunSpeech::nextJapaneseKey(const QString& name) {
    if (on_.on && !on_.words) say(name, true);
}

void RunSpeech::end(const QString& words) {
    if (!on_.on || !running_) return;
    running_ = false;
    end_ = words;
    say(words);
}

void RunSpeech::addToEnd(const QString& more) {
    if (!on_.on || more.isEmpty()) return;
    end_ += more;
    say(end_);
}
