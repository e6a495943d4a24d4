#include "KeyNames.h"

#include "TPanel.h"

#include <QCoreApplication>
#include <cstring>

namespace {

enum Finger {
    LeftLittle,
    LeftRing,
    LeftMiddle,
    LeftIndex,
    Thumb,
    RightIndex,
    RightMiddle,
    RightRing,
    RightLittle,
    None
};

const char* const kFingerNames[] = {
    QT_TRANSLATE_NOOP("KeyNames", "左手小指"), QT_TRANSLATE_NOOP("KeyNames", "左手薬指"),
    QT_TRANSLATE_NOOP("KeyNames", "左手中指"), QT_TRANSLATE_NOOP("KeyNames", "左手人差し指"),
    QT_TRANSLATE_NOOP("KeyNames", "親指"),     QT_TRANSLATE_NOOP("KeyNames", "右手人差し指"),
    QT_TRANSLATE_NOOP("KeyNames", "右手中指"), QT_TRANSLATE_NOOP("KeyNames", "右手薬指"),
    QT_TRANSLATE_NOOP("KeyNames", "右手小指"),
};

// The columns of the JIS keyboard as touch typing divides them; the keys at the edges
// that the guide leaves uncoloured belong to the little fingers.
Finger fingerOf(int vk, bool rightSide) {
    if (vk >= 'A' && vk <= 'Z') {
        static constexpr const char* kColumns[] = {"QAZ",    "WSX", "EDC", "RTFGVB", "",
                                                   "YUHJNM", "IK",  "OL",  "P"};
        for (int f = 0; f < 9; ++f)
            if (std::strchr(kColumns[f], vk) && kColumns[f][0]) return Finger(f);
    }
    switch (vk) {
    case '1':
    case vkEscape:
    case vkTab:
    case vkCapsJis:
    case vkControl:
        return LeftLittle;
    case '2':
        return LeftRing;
    case '3':
        return LeftMiddle;
    case '4':
    case '5':
        return LeftIndex;
    case '6':
    case '7':
        return RightIndex;
    case '8':
    case 188:
        return RightMiddle; // ,
    case '9':
    case 190:
        return RightRing; // .
    case vkShift:
        return rightSide ? RightLittle : LeftLittle;
    case vkSpace:
        return Thumb;
    case '0':
    case vkBack:
    case vkReturn:
    case 186:
    case 187:
    case 189:
    case 191:
    case 192:
    case 219:
    case 220:
    case 221:
    case 222:
    case 226:
        return RightLittle; // the punctuation
    default:
        return None;
    }
}

} // namespace

QString fingerName(int vk, bool rightSide) {
    const Finger f = fingerOf(vk, rightSide);
    return f == None ? QString() : QCoreApplication::translate("KeyNames", kFingerNames[f]);
}

QString keyAndFinger(int vk, const QString& caption, bool rightSide) {
    const QString key =
        vk == vkSpace ? QCoreApplication::translate("KeyNames", "スペース") : caption.trimmed();
    const QString finger = fingerName(vk, rightSide);
    if (finger.isEmpty()) return key;
    return QCoreApplication::translate("KeyNames", "%1、%2").arg(key, finger);
}

void nameKeyPanels(const KeyTable& table, TPanel* shiftLeft, TPanel* shiftRight) {
    for (std::size_t vk = 0; vk < table.size(); ++vk)
        if (TPanel* p = table[vk].panel) p->setAccessibleName(keyAndFinger(int(vk), p->caption()));
    for (TPanel* p : {shiftLeft, shiftRight})
        if (p) p->setAccessibleName(keyAndFinger(vkShift, p->caption(), p == shiftRight));
}
