#pragma once
#include <QByteArray>
#include <QList>
#include <QStringList>
#include <functional>

// The words of lesson texts: runs of printable ASCII between blanks and line ends,
// each once, in the order they first come. A run holding any other byte is no word.
QList<QByteArray> lessonWords(const QList<QByteArray>& texts);

struct WeakLesson {
    QByteArray text; // lines of words and blanks, each ended by a line feed
    QList<int> keys; // the weak keys it is built on, weakest first
};
// About a kilobyte of practice text from the words: mostly words rich in the first five
// keys of the ranking that any word holds, mixed with other words so it reads as text.
// random gives values 0..32767. Empty when no word holds any ranked key.
WeakLesson weakKeyLesson(const QList<QByteArray>& words, const QList<int>& ranking,
                         const std::function<int()>& random);

// The texts of the lesson files (Lesson*.txt) in the folders, each read as far as a
// lesson needs.
QList<QByteArray> readLessonTexts(const QStringList& folders);
