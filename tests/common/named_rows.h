#pragma once

// Rows of a parameterised table go by their name. A test file brings this
// printer in next to its row types with `using named_rows::PrintTo;`, and
// GoogleTest then shows a row by its name, in --gtest_list_tests and where a
// failure says "GetParam() = ...", rather than as the row's raw bytes.
#include <concepts>
#include <ostream>
#include <string_view>

namespace named_rows {

template <class Row>
concept Named = requires(const Row& row) {
    { row.name } -> std::convertible_to<std::string_view>;
};

template <Named Row>
void PrintTo(const Row& row, std::ostream* os)
{
    *os << std::string_view(row.name);
}

} // namespace named_rows
