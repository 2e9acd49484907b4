#pragma once

#include <QtGlobal>

#include <array>

// The security locks an administrator sets per function page and channel:
// what each page shows of a channel. The unit keeps them; the security page
// edits them and every page obeys them.
//
// A lock byte from the unit reads 0 "Free", 1 "Read-only" and anything else
// "Hidden"; the table only ever holds the three states.
enum class LockState : quint8 { Free = 0, ReadOnly = 1, Hidden = 2 };

struct LockTable
{
    // The pages locked channel by channel, in the security page's row order.
    // The filter pages lock more finely (FilterLocks).
    enum Page : quint8 {
        InLevel,
        Gate,
        Feedback,
        InLimiter,
        InDelay, // 96 kHz units only
        Deq,     // 96 kHz units only
        Matrix,  // one lock per output
        Generator, // one lock per output: its routing button
        OutLevel,
        Fir, // 96 kHz units only
        OutLimiter,
        OutDelay,
        PageCount
    };
    static constexpr int MaxChannels = 8;

    // One filter page channel: the graph, the two pass sections and each
    // band, the 19 entries of the unit's filter lock record.
    struct FilterLocks
    {
        static constexpr int Bands = 16;
        LockState graph = LockState::Free;
        LockState highPass = LockState::Free;
        LockState lowPass = LockState::Free;
        std::array<LockState, Bands> bands{};

        bool operator==(const FilterLocks &other) const;
        bool operator!=(const FilterLocks &other) const { return !(*this == other); }
    };

    // 4 for the input pages, 8 for the matrix and the output pages.
    static int channelCount(Page page);
    static bool isInputPage(Page page) { return channelCount(page) == 4; }
    // What a lock byte from the unit means.
    static LockState fromByte(quint8 byte);

    // Entries beyond a page's channel count stay Free and are not compared.
    std::array<std::array<LockState, MaxChannels>, PageCount> pages{};
    std::array<FilterLocks, 4> inputFilters{};
    std::array<FilterLocks, 8> outputFilters{};

    LockState &at(Page page, int channel) { return pages[size_t(page)][size_t(channel)]; }
    LockState at(Page page, int channel) const { return pages[size_t(page)][size_t(channel)]; }

    // Compares the pages a unit family has: `withFamilyOnePages` false leaves
    // out the input delay, dynamic EQ and FIR rows, which the 48 kHz units
    // do not have.
    bool equals(const LockTable &other, bool withFamilyOnePages) const;
    bool operator==(const LockTable &other) const { return equals(other, true); }
    bool operator!=(const LockTable &other) const { return !(*this == other); }
};
