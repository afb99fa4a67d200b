// ApriDocumento's messages for each outcome of the platform's document opening.
#include "ui/reminder/apridocumento.h"

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace {

struct OutcomeCase {
    const char* name;
    OpenResult result;
    QString text;
    bool failsLater = false;  // the desktop took the document in, then found no program
};

class ApriDocumentoTest : public ::testing::TestWithParam<OutcomeCase> {};

TEST_P(ApriDocumentoTest, ShowsTheStopBoxOnFailure) {
    FakeDocumentOpener documents;
    ScriptedMessageBox messages;
    documents.result = GetParam().result;
    ApriDocumento("C:\\Documenti utente\\lettera.doc", documents, messages);
    EXPECT_EQ(documents.opened, QStringList{"C:\\Documenti utente\\lettera.doc"});
    if (GetParam().failsLater) {
        EXPECT_TRUE(messages.shown.isEmpty());
        ASSERT_TRUE(documents.failedLater);
        documents.failedLater();
    }
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].text, GetParam().text);
    EXPECT_EQ(messages.shown[0].title,
              "ERRORE IN ESECUZIONE DI 'C:\\Documenti utente\\lettera.doc'");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Stop);
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::Ok);
}

INSTANTIATE_TEST_SUITE_P(Outcomes, ApriDocumentoTest,
                         ::testing::Values(OutcomeCase{"OutOfResources", OpenResult::OutOfResources,
                                                       "MEMORIA DI SISTEMA INSUFFICIENTE"},
                                           OutcomeCase{"Failed", OpenResult::Failed,
                                                       "ERRORE DI ESECUZIONE DEL PROGRAMMA  "
                                                       "'C:\\Documenti utente\\lettera.doc' "},
                                           OutcomeCase{"NoProgramFoundLater", OpenResult::Opened,
                                                       "ERRORE DI ESECUZIONE DEL PROGRAMMA  "
                                                       "'C:\\Documenti utente\\lettera.doc' ",
                                                       true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ApriDocumento, SuccessShowsNothing) {
    FakeDocumentOpener documents;
    ScriptedMessageBox messages;
    ApriDocumento("lettera.doc", documents, messages);
    EXPECT_TRUE(messages.shown.isEmpty());
}

}  // namespace
