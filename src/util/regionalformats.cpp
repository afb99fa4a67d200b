// The regional conventions in force, swappable by tests.
#include "util/regionalformats.h"

namespace {

RegionalFormats& inForce() {
    static RegionalFormats formats = RegionalFormats::italian();
    return formats;
}

}  // namespace

RegionalFormats RegionalFormats::italian() {
    return {};
}

RegionalFormats RegionalFormats::decimalPoint() {
    RegionalFormats formats;
    formats.decimalSeparator = QLatin1Char('.');
    formats.thousandsSeparator = QLatin1Char(',');
    return formats;
}

const RegionalFormats& RegionalFormats::current() {
    return inForce();
}

ScopedRegionalFormats::ScopedRegionalFormats(const RegionalFormats& formats)
    : previous_(inForce()) {
    inForce() = formats;
}

ScopedRegionalFormats::~ScopedRegionalFormats() {
    inForce() = previous_;
}
