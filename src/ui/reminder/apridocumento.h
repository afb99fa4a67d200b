// Opens a document with its associated program and tells the operator when that fails.
#pragma once

#include <QString>

class DocumentOpener;
class MessageBox;

// Hands `file` unchanged to the platform; on failure, also one the desktop finds only later
// (no program for the document's type), shows the stop box naming the file.
void ApriDocumento(const QString& file, DocumentOpener& documents, MessageBox& messages);
