// For tests: takes the object of a successful Result into `into`, so an open reads as
// one condition (`ASSERT_TRUE(take(table, Table::open(path, mode)))`).
#pragma once

#include <memory>

#include "platform/result.h"

namespace sendwerk::testing {

template <typename T>
bool take(std::unique_ptr<T>& into, Result<std::unique_ptr<T>> result) {
    if (!result) return false;
    into = std::move(*result);
    return true;
}

}  // namespace sendwerk::testing
