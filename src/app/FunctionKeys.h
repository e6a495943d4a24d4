#pragma once
#include <QtGlobal>

class TVelotapper;
struct TranslatedKey;

// Function keys of the main window: every printable key and Tab belong to practice, so
// the tools answer to F1-F12 instead. Outside a run each row's key starts its tool;
// during a run only F12 is taken, to stop it; key exploration ends on Esc.
struct FunctionKey {
    quint16 vk;
    bool shift;
    void (TVelotapper::*act)();
};

// Acts on the key and returns true when it was one of the window's function keys, so
// practice never sees it; false leaves the key to practice as before.
bool runFunctionKey(TVelotapper& window, const TranslatedKey& key);
