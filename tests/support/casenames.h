// Names for the cases of a parameterised suite, so test lists read the same on every run.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <vector>

// The i-th value of the suite is named by the i-th name.
class CaseNames {
public:
    CaseNames(std::initializer_list<const char*> names) : names_(names.begin(), names.end()) {}

    template <typename Info>
    std::string operator()(const Info& info) const {
        return names_.at(static_cast<std::size_t>(info.index));
    }

private:
    std::vector<std::string> names_;
};
