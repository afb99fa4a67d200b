// Reading another process's windows as the X server and its window manager keep them.
#pragma once

#include <QString>

namespace finestrax {

// The id of the mapped window titled `titolo` ("0x1a00007"); empty while there is none.
QString mappata(const QString& titolo);
// One property of window `id` as xprop prints it after the " = ", e.g. WM_CLASS's
// "\"SCADEX1.EXE\", \"scadex\"".
QString proprieta(const QString& id, const QString& nome);

}  // namespace finestrax
