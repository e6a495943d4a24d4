#include "TestEnv.h"

#include <QDir>
#include <QFile>

TestEnv::TestEnv() : oldCwd_(QDir::currentPath()) {
    QDir::setCurrent(dir_.path());
    Platform::install(&platform);
}

TestEnv::~TestEnv() {
    Platform::install(nullptr);
    QDir::setCurrent(oldCwd_);
}

void TestEnv::writeFile(const QString& name, const QByteArray& bytes) const {
    QFile f(path(name));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
}

QByteArray TestEnv::readFile(const QString& name) const {
    QFile f(path(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
