// A value that cannot be converted: a text with two "/" that is no valid date, a number out of
// range.
#pragma once

#include "util/erroredati.h"

class ConversionError : public ErroreDati {
public:
    using ErroreDati::ErroreDati;
};
