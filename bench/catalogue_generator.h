#pragma once
// Large catalogues for the benchmarks, made deterministically from a seed:
// elements over all 19 categories with the marks, standard voltages, ratings,
// comments and occasional exact duplicates that real catalogues have.

#include <cstdint>
#include <memory>

#include "core/reference.h"

namespace kelm::bench {

// A container of exactly `count` new elements (Ident -1, Added 1), in no
// particular order, the same for the same count and seed. Numbers have few
// decimals, so an exchange file and a database hold exactly the same values.
std::unique_ptr<TReference> GenerateCatalogue(int count, std::uint32_t seed);

}  // namespace kelm::bench
