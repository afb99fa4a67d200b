// ApriDocumento and the texts of its two failure messages.
#include "ui/reminder/apridocumento.h"

#include "platform/documentopener.h"
#include "platform/messagebox.h"

void ApriDocumento(const QString& file, DocumentOpener& documents, MessageBox& messages) {
    const OpenResult result = documents.open(file);
    if (result == OpenResult::Opened) return;
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
