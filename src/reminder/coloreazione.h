// The text colour of an action from its stored colour value.
#pragma once

#include <QColor>
#include <QVariant>
#include <optional>

// `TbaColore` in the host's convention: red + 256 × green + 65536 × blue, or, with the top
// bit set, the index of a system colour. Nothing when the value is no whole 32-bit number
// or names no known system colour.
std::optional<QColor> ColoreAzione(const QVariant& tbaColore);
