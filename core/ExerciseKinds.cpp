#include "core/ExerciseKinds.h"

namespace bitwell {

namespace {

#define BITWELL_ENTRY(Name, keyword, anyCase, watches) \
    GoalKindEntry{GoalKind::Name, keyword, anyCase, Parse##Name, watches, Holds##Name, Explain##Name}

// One entry per kind, in the order of GoalKind. The grammar tries the
// keywords in this order.
constexpr std::array<GoalKindEntry, kGoalKinds> kKinds{
    BITWELL_ENTRY(Memory, "memory", false, kWords),
    BITWELL_ENTRY(Unchanged, "", false, kWords),
    BITWELL_ENTRY(Read, "read", false, kRead),
    BITWELL_ENTRY(Address, "address", false, kAddress),
    BITWELL_ENTRY(Order, "order", false, kOrder),
    // The listing follows the words, the address and the order.
    BITWELL_ENTRY(Types, "types", false, kWords | kAddress | kOrder),
    BITWELL_ENTRY(Count, "count", false, kCounted),
    BITWELL_ENTRY(Actions, "actions", false, kActions),
    BITWELL_ENTRY(Level, "CE|OE|WE|LB|UB", true, kLevels),
    BITWELL_ENTRY(Data, "data", false, kData),
    BITWELL_ENTRY(Never, "never", false, kEvaluations),
    BITWELL_ENTRY(Then, "then", false, kEvaluations),
};

#undef BITWELL_ENTRY

constexpr bool InEnumOrder() {
    for (std::size_t i = 0; i < kKinds.size(); ++i)
        if (static_cast<std::size_t>(kKinds[i].kind) != i) return false;
    return true;
}
static_assert(InEnumOrder(), "the kind table lists every GoalKind once, in enum order");

}  // namespace

const GoalKindEntry& KindOf(GoalKind kind) { return kKinds[static_cast<std::size_t>(kind)]; }
const std::array<GoalKindEntry, kGoalKinds>& GoalKindTable() { return kKinds; }

}  // namespace bitwell
