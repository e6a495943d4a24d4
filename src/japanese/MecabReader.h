#pragma once
#include <QByteArray>
#include <QString>
#include <vector>

// One word of analysed text with its part of speech and its reading as the
// dictionary gives it (katakana; empty when the dictionary has none).
struct Morpheme {
    QString surface;
    QString reading;
    QString pos1; // 名詞, 助詞, 記号, …
    QString pos2;
    bool spaceBefore = false;
    int start = 0; // columns in the analysed text
    int end = 0;
};

// Where readings come from; the exercise asks only when text holds a kanji.
class ReadingSource {
public:
    virtual ~ReadingSource() = default;
    virtual bool available() = 0;
    virtual std::vector<Morpheme> analyse(QStringView text) = 0;
};

// MeCab with a UTF-8 dictionary, opened with dlopen the first time it is asked for,
// so a program that never reads Japanese never loads it.
class MecabReader : public ReadingSource {
public:
    explicit MecabReader(QByteArray library = "libmecab.so.2", QByteArray dictionaryDir = {});
    ~MecabReader() override;
    MecabReader(const MecabReader&) = delete;
    MecabReader& operator=(const MecabReader&) = delete;

    bool available() override;
    std::vector<Morpheme> analyse(QStringView text) override;
    bool loaded() const { return handle_ != nullptr; }

private:
    void open();
    struct Api;

    QByteArray library_;
    QByteArray dictionaryDir_;
    bool tried_ = false;
    void* handle_ = nullptr;
    void* tagger_ = nullptr;
    Api* api_ = nullptr;
};
