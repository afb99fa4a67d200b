// The one base of a data step's failures: a database's, or a value that cannot be converted.
#pragma once

#include <stdexcept>

class DataError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
