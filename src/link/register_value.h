// Cutting a register value out of a captured reply.
#pragma once
#include <string>

namespace lt {

// The up to three characters that start offset characters after the first occurrence
// of query in snapshot (case-sensitive). Without an occurrence they start at the
// offset-th character of the snapshot (1-based). Never reads outside the snapshot: a
// value cut by its end is shorter, one starting beyond it is empty.
std::string ExtractRegisterValue(const std::string& snapshot, const std::string& query, int offset);

}  // namespace lt
