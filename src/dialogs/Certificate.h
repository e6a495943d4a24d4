#pragma once
#include <QDate>
#include <QString>

// What a grade's certificate says: the learner, the way and grade earned, when, the
// score and the text the test used (so the result can be checked).
struct Certificate {
    QString name;
    QString way;   // as the learner reads it: 英字, ローマ字, かな
    QString grade; // 20級, …
    QDate date;
    double net = 0;
    double accuracy = 0;
    QString textId;
};

// Writes the certificate as a one-page A4 PDF; false when the file cannot be written.
bool writeCertificate(const QString& path, const Certificate& c);
