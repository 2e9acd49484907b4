#include "locktable.h"

bool LockTable::FilterLocks::operator==(const FilterLocks &other) const
{
    return graph == other.graph && highPass == other.highPass && lowPass == other.lowPass && bands == other.bands;
}

int LockTable::channelCount(Page page)
{
    switch (page) {
    case InLevel:
    case Gate:
    case Feedback:
    case InLimiter:
    case InDelay:
    case Deq:
        return 4;
    case Matrix:
    case Generator:
    case OutLevel:
    case Fir:
    case OutLimiter:
    case OutDelay:
    case PageCount:
        break;
    }
    return 8;
}

LockState LockTable::fromByte(quint8 byte)
{
    if (byte == 0)
        return LockState::Free;
    return byte == 1 ? LockState::ReadOnly : LockState::Hidden;
}

bool LockTable::equals(const LockTable &other, bool withFamilyOnePages) const
{
    for (int p = 0; p < PageCount; ++p) {
        const Page page = Page(p);
        if (!withFamilyOnePages && (page == InDelay || page == Deq || page == Fir))
            continue;
        for (int c = 0; c < channelCount(page); ++c) {
            if (at(page, c) != other.at(page, c))
                return false;
        }
    }
    return inputFilters == other.inputFilters && outputFilters == other.outputFilters;
}
