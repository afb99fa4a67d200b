// A value that cannot be converted: a text with two "/" that is no valid date, a number out of
// range.
#pragma once

#include "util/dataerror.h"

class ConversionError : public DataError {
public:
    using DataError::DataError;
};
