#pragma once
#include "FakePlatform.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A test's world: a fresh working directory and the scripted platform, both undone
// when it goes out of scope.
class TestEnv {
public:
    TestEnv();
    ~TestEnv();
    TestEnv(const TestEnv&) = delete;
    TestEnv& operator=(const TestEnv&) = delete;

    QString path(const QString& name) const { return dir_.filePath(name); }
    void writeFile(const QString& name, const QByteArray& bytes) const;
    QByteArray readFile(const QString& name) const;
    QString dir() const { return dir_.path(); }

    FakePlatform platform;

private:
    QTemporaryDir dir_;
    QString oldCwd_;
};
