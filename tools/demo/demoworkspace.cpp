// A demo workspace under one folder.
#include "demoworkspace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

#include "db/database.h"
#include "db/schema.h"
#include "dbcreate/databasefile.h"
#include "dbcreate/serverschema.h"
#include "demorows.h"
#include "platform/windows1252.h"
#include "wavtone.h"

namespace schema = db::schema;

namespace {

const QString kOperatore = QStringLiteral("demo");
const QString kIni = QStringLiteral("Gestar.ini");
const QString kVisite = QStringLiteral("dati/demo/") + schema::kVisiteFile;
const QString kWork = QStringLiteral("lavoro/demo/") + schema::kWorkFile;
const QString kSound = QStringLiteral("suoni/avviso.wav");
const QString kDocument = QStringLiteral("documenti/verbale.txt");
const QString kMissingDocument = QStringLiteral("documenti/preventivo-2026.pdf");

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

QString script(const QString& name) {
    QFile file(QStringLiteral(":/schema/") + name);
    if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error("missing " + name.toStdString());
    return QString::fromUtf8(file.readAll());
}

// A new database from a schema script at `path`, opened for filling: an SQLite file, or a
// schema on the server with its descriptor file at `path`.
std::unique_ptr<db::Database> createDatabase(const QString& path, const QString& scriptName,
                                             const QByteArray& server) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile::remove(path);
    if (server.isEmpty()) {
        db::createDatabaseFile(path, script(scriptName));
    } else {
        const QString schema = QStringLiteral("scadex_demo_") + QFileInfo(scriptName).baseName();
        writeFile(path,
                  db::createServerSchema(server, schema,
                                         script(QStringLiteral("postgresql/") + scriptName), true) +
                      '\n');
    }
    return db::open(path);
}

using Fields = QList<std::pair<QString, QVariant>>;

void addRow(db::TableCursor& table, const Fields& fields) {
    table.addNew();
    for (const auto& [name, value] : fields) table.setField(name, value);
    table.update();
}

}  // namespace

DemoWorkspace::DemoWorkspace(const QString& folder, const QByteArray& server)
    : root_(QDir(folder).absolutePath()), server_(server) {}

QString DemoWorkspace::iniPath() const {
    return native(kIni);
}

QStringList DemoWorkspace::existingFiles() const {
    QStringList existing;
    for (const QString& file : files())
        if (QFileInfo::exists(path(file))) existing.append(native(file));
    return existing;
}

void DemoWorkspace::create(const QDateTime& now) const {
    writeIni();
    writeSound();
    writeDocument();
    createVisite(now);
    createWork();
}

QString DemoWorkspace::path(const QString& relative) const {
    return root_ + u'/' + relative;
}

QString DemoWorkspace::native(const QString& relative) const {
    return QDir::toNativeSeparators(path(relative));
}

QStringList DemoWorkspace::files() const {
    return {kIni, kVisite, kWork, kSound, kDocument};
}

void DemoWorkspace::writeIni() const {
    const QFileInfo sound(path(kSound));
    const QStringList lines{
        QStringLiteral("[BASE]"),
        QStringLiteral("OPERATORE=") + kOperatore,
        QStringLiteral("[PATH]"),
        QStringLiteral("FILE=") + native(QStringLiteral("dati/")),
        QStringLiteral("WORK=") + native(QStringLiteral("lavoro/")),
        QStringLiteral("[AGENDA]"),
        QStringLiteral("Secondi=10"),
        QStringLiteral("SuonoSN=S"),
        QStringLiteral("SuonoPath=") + QDir::toNativeSeparators(sound.absolutePath()),
        QStringLiteral("SuonoFile=") + sound.completeBaseName(),
        QStringLiteral("SuonoExt=") + sound.suffix(),
    };
    // The host's profile files are Windows text: CR LF lines in the single-byte code page.
    writeFile(path(kIni), windows1252::encode(lines.join(QStringLiteral("\r\n")) + "\r\n"));
}

void DemoWorkspace::writeSound() const {
    writeFile(path(kSound), wavtone::chime());
}

void DemoWorkspace::writeDocument() const {
    writeFile(path(kDocument), QStringLiteral("Verbale dell'incontro con il sig. Rossi Mario\n\n"
                                              "Documenti da portare: ricevute delle spese mediche, "
                                              "certificazione unica, contratto d'affitto.\n")
                                   .toUtf8());
}

void DemoWorkspace::createVisite(const QDateTime& now) const {
    auto database = createDatabase(path(kVisite), QStringLiteral("visite.sql"), server_);
    auto table = database->openTable(schema::kAppuntamenti);
    for (const demorows::Appuntamento& row :
         demorows::appuntamenti(now, native(kDocument), native(kMissingDocument))) {
        addRow(*table, {{schema::kApCliente, row.cliente},
                        {schema::kApData, row.data},
                        {schema::kApAzione, row.azione},
                        {schema::kApAllarm, row.allarm},
                        {schema::kApDelete, row.cancellato},
                        {schema::kApStato, row.stato},
                        {schema::kApCausa, row.causa},
                        {schema::kApNote, row.note},
                        {schema::kApDocumento, row.documento}});
    }
}

void DemoWorkspace::createWork() const {
    auto database = createDatabase(path(kWork), QStringLiteral("work.sql"), server_);
    auto clienti = database->openTable(schema::kClienti);
    for (const demorows::Cliente& row : demorows::clienti()) {
        addRow(*clienti, {{schema::kCliCodice, row.codice},
                          {schema::kCliRagsoc, row.ragsoc},
                          {schema::kCliRagsocEstesa, row.ragsocEstesa}});
    }
    auto azioni = database->openTable(schema::kTabAzioni);
    for (const demorows::Azione& row : demorows::azioni()) {
        addRow(*azioni, {{schema::kTbaCodice, row.codice},
                         {schema::kTbaDescrizione, row.descrizione},
                         {schema::kTbaColore, row.colore}});
    }
}
