#include "PracticeRecord.h"

#include <QtEndian>
#include <cstring>

namespace {

class Writer {
public:
    explicit Writer(QByteArray& out) : out_(out) {}
    void u8(std::uint8_t v) { out_.append(char(v)); }
    void u32(std::uint32_t v) {
        char b[4];
        qToLittleEndian(v, b);
        out_.append(b, 4);
    }
    void i32(std::int32_t v) { u32(std::uint32_t(v)); }
    void f32(float v) {
        std::uint32_t bits;
        std::memcpy(&bits, &v, 4);
        u32(bits);
    }

private:
    QByteArray& out_;
};

class Reader {
public:
    explicit Reader(const QByteArray& in) : p_(in.constData()) {}
    std::uint8_t u8() { return std::uint8_t(*p_++); }
    std::uint32_t u32() {
        const std::uint32_t v = qFromLittleEndian<std::uint32_t>(p_);
        p_ += 4;
        return v;
    }
    std::int32_t i32() { return std::int32_t(u32()); }
    float f32() {
        const std::uint32_t bits = u32();
        float v;
        std::memcpy(&v, &bits, 4);
        return v;
    }

private:
    const char* p_;
};

} // namespace

QByteArray PracticeRecord::toBytes() const {
    QByteArray out;
    out.reserve(kSize);
    Writer w(out);
    w.i32(level);
    for (auto b : reserved) w.u8(b);
    for (auto c : fingerColors) w.u32(c);
    w.u8(rowSet.bits);
    w.u8(guideOn);
    for (auto b : padding) w.u8(b);
    w.i32(typedTotal);
    w.i32(reservedCount);
    w.i32(missTotal);
    w.i32(textLength);
    w.i32(wordCount);
    w.i32(runMisses);
    w.f32(fastestRate);
    w.f32(averageRate);
    w.f32(currentRate);
    for (const auto& k : keyStats) {
        w.i32(k.tries);
        w.i32(k.misses);
    }
    Q_ASSERT(out.size() == kSize);
    return out;
}

void PracticeRecord::fromBytes(const QByteArray& image) {
    Q_ASSERT(image.size() >= kSize);
    Reader r(image);
    level = r.i32();
    for (auto& b : reserved) b = r.u8();
    for (auto& c : fingerColors) c = r.u32();
    rowSet.bits = r.u8();
    guideOn = r.u8();
    for (auto& b : padding) b = r.u8();
    typedTotal = r.i32();
    reservedCount = r.i32();
    missTotal = r.i32();
    textLength = r.i32();
    wordCount = r.i32();
    runMisses = r.i32();
    fastestRate = r.f32();
    averageRate = r.f32();
    currentRate = r.f32();
    for (auto& k : keyStats) {
        k.tries = r.i32();
        k.misses = r.i32();
    }
}

void PracticeRecord::resetStatistics() {
    typedTotal = 0;
    reservedCount = 0;
    missTotal = 0;
    runMisses = 0;
    wordCount = 0;
    textLength = 0;
    averageRate = 0.0f;
    currentRate = 0.0f;
    fastestRate = 0.0f;
    keyStats.fill(KeyStat{});
}

void PracticeRecord::applyDefaults() {
    level = 0;
    rowSet.clear();
    fingerColors.fill(0x00FFFFFF);
    rowSet.include(rowA);
    guideOn = 0;
    resetStatistics();
}

void PracticeRecord::addRunSpeed(qint64 typed, int seconds) {
    // Extended precision for the arithmetic, single precision in the record.
    const long double rate = static_cast<long double>(typed) / seconds;
    currentRate = static_cast<float>(rate);
    if (static_cast<double>(averageRate) > 0.1)
        averageRate =
            static_cast<float>((static_cast<long double>(averageRate) + currentRate) * 0.5L);
    else
        averageRate = currentRate;
    if (currentRate > fastestRate) fastestRate = currentRate;
    typedTotal += typed;
}
