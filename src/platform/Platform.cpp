#include "Platform.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>

namespace {
Platform* current = nullptr;
}

Platform& Platform::get() {
    if (!current) {
        std::fputs("velotapper: no platform installed\n", stderr);
        std::abort();
    }
    return *current;
}

void Platform::install(Platform* p) {
    current = p;
}

QString appTitle() {
    return QCoreApplication::translate("Velotapper", "zudarev練習機");
}
