// Which reply the next parse expects. The numbers are fixed: the dispatch tests them.
#pragma once
#include <cstdint>

namespace lt {

enum TRequestKind : int32_t {
    rqWrite = 0,  // nothing expected: writes, and what every completed parse leaves
    rqExtRegsRead = 1,
    rqBusyWrite = 2,
    rqBusyRead = 4,
    rqIdentify = 6,
    rqSpeedRead = 8,
    rqTxLevelRead = 11,
    rqLineAdaptRead = 12,
};

}  // namespace lt
