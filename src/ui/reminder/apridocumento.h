// Opens a document with its associated program and tells the operator when that fails.
#pragma once

#include <QString>

class DocumentOpener;
class MessageBox;

// Hands `file` unchanged to the platform; on failure shows the stop box naming the file.
void ApriDocumento(const QString& file, DocumentOpener& documents, MessageBox& messages);
