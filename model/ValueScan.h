#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace revlane {

// The values of a handling.cfg line as the game splits them, the runs of characters between
// spaces and tabs, each told whether it is a plain number: digits with at most one point, and a
// sign only before them. Each character is looked at once, its kind counted as it goes: most
// values are plain numbers, told apart by the counts alone.
class ValueScan {
public:
    explicit ValueScan(std::string_view text)
        : p_(reinterpret_cast<const unsigned char*>(text.data())), end_(p_ + text.size())
    {
    }

    // Goes to the next value; false past the last.
    bool Next()
    {
        while (p_ < end_ && (kKinds[*p_] & kGap))
            ++p_;
        if (p_ == end_)
            return false;
        start_ = p_;
        std::uint64_t counts = 0;
        for (std::uint64_t kinds; p_ < end_ && !((kinds = kKinds[*p_]) & kGap); ++p_)
            counts += kinds;
        const std::uint64_t digits = counts & 0xFFFF, points = (counts >> 16) & 0xFFFF, signs = (counts >> 32) & 0xFFFF;
        plain_ = p_ - start_ < 0xFFFF && (counts >> 48) == 0 && digits > 0 && points <= 1
                 && (signs == 0 || (signs == 1 && (*start_ == '-' || *start_ == '+')));
        return true;
    }
    std::string_view Value() const
    {
        return {reinterpret_cast<const char*>(start_), static_cast<size_t>(p_ - start_)};
    }
    bool Plain() const { return plain_; }

private:
    // Each character's kind, counted in a lane of 16 bits: digits, points, signs and any other;
    // a space or a tab ends the value. A value of up to 65,535 characters counts without a carry.
    static constexpr std::uint64_t kGap = std::uint64_t(1) << 63;
    static constexpr std::array<std::uint64_t, 256> kKinds = [] {
        std::array<std::uint64_t, 256> kinds{};
        for (int ch = 0; ch < 256; ++ch)
            kinds[static_cast<size_t>(ch)] = ch == ' ' || ch == '\t'   ? kGap
                                             : ch >= '0' && ch <= '9' ? 1
                                             : ch == '.'              ? std::uint64_t(1) << 16
                                             : ch == '+' || ch == '-' ? std::uint64_t(1) << 32
                                                                      : std::uint64_t(1) << 48;
        return kinds;
    }();

    const unsigned char* p_;
    const unsigned char* const end_;
    const unsigned char* start_ = nullptr;
    bool plain_ = false;
};

}  // namespace revlane
