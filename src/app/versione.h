// The version every program of SCADEX gives for --version.
#pragma once

#include <QString>

// The latest entry of data/changelog and, in a git checkout, "+git<commits>.g<commit>".
QString VersioneScadex();
