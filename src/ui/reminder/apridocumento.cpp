// ApriDocumento and the texts of its two failure messages.
#include "ui/reminder/apridocumento.h"

#include "platform/documentopener.h"
#include "platform/messagebox.h"

namespace {

void mostraErrore(const QString& file, OpenResult result, MessageBox& messages) {
    MessageRequest request;
    request.text =
        result == OpenResult::OutOfResources
            ? QStringLiteral("MEMORIA DI SISTEMA INSUFFICIENTE")
            : QStringLiteral("ERRORE DI ESECUZIONE DEL PROGRAMMA  '") + file + QStringLiteral("' ");
    request.title = QStringLiteral("ERRORE IN ESECUZIONE DI '") + file + QLatin1Char('\'');
    request.icon = MessageIcon::Stop;
    request.buttons = MessageButtons::Ok;
    messages.show(request);
}

}  // namespace

void ApriDocumento(const QString& file, DocumentOpener& documents, MessageBox& messages) {
    // The platform's message box outlives the window that asked: a failure found later is
    // told even when the reminder window has closed meanwhile.
    const OpenResult result = documents.open(
        file, [file, &messages] { mostraErrore(file, OpenResult::Failed, messages); });
    if (result != OpenResult::Opened) mostraErrore(file, result, messages);
}
