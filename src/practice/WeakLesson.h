#pragma once
#include <QByteArray>
#include <QList>
#include <QStringList>
#include <functional>

// The whole words of lesson texts, each once, in the order they first come: runs of
// letters or of digits, freed of the signs around them. A run with a sign or another
// byte inside is no word, nor are drill fragments such as "jj", "fj" or "asdf".
QList<QByteArray> lessonWords(const QList<QByteArray>& texts);

struct WeakLesson {
    QByteArray text; // lines of words and blanks, each ended by a line feed
    QList<int> keys; // the weak keys it is built on, weakest first
};
// About a kilobyte of practice text from the words, in lower case unless Shift is
// among the weak keys: mostly words rich in the first five keys of the ranking that a
// word holds, mixed with other words so it reads as text; a weak sign key's sign
// follows every other word. random gives values 0..32767. Empty when no word holds
// any ranked key.
WeakLesson weakKeyLesson(const QList<QByteArray>& words, const QList<int>& ranking,
                         const std::function<int()>& random);
// Shift is a weak key when one of the first five keys of the ranking is missed most by
// leaving Shift out (shiftLeftOut); it then ranks just before that key.
QList<int> rankShift(QList<int> ranking, const QList<int>& shiftLeftOut);

// The texts of the lesson files (Lesson*.txt) in the folders, each read as far as a
// lesson needs.
QList<QByteArray> readLessonTexts(const QStringList& folders);
