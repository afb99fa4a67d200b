-- WorkDV on a PostgreSQL server: the reminder table and the look-up tables, in the schema the
-- descriptor's search_path names (not the one of VisiteDV: both have an index primaria).
-- Text compares without regard to case; date-times are day serials; rowid is the row
-- identity the program's table cursors walk by.
CREATE COLLATION IF NOT EXISTS nocase (provider = icu, locale = 'und-u-ks-level2',
                                      deterministic = false);
CREATE TABLE Promemoria (
    PmCliente integer, PmData double precision, PmAzione text COLLATE nocase,
    PmAllarm double precision, PmWait text COLLATE nocase, PmDocumento text,
    rowid bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY);
-- A Null key part sorts first, as on the host's engine.
CREATE UNIQUE INDEX primaria ON Promemoria (PmCliente NULLS FIRST, PmData NULLS FIRST,
                                           PmAzione NULLS FIRST);
-- The poll looks reminders up by alarm moment and by mark at every tick: without these it
-- reads the whole table each time. The host's files keep only the host's own indexes.
CREATE INDEX IF NOT EXISTS promemoria_allarme ON Promemoria (PmAllarm);
CREATE INDEX IF NOT EXISTS promemoria_attesa ON Promemoria (PmWait);
CREATE TABLE Clienti (CliCodice integer, CliRagsoc text, CliRagsocEstesa text,
                      rowid bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY);
CREATE TABLE TabAzioni (TbaCodice text COLLATE nocase, TbaDescrizione text, TbaColore text,
                        rowid bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY);
-- Tells a running SCADEX that another connection has written its reminders (a restore, a hand
-- edit), so that its fifteenth poll never takes the table as it left it: one notification per
-- statement on channel scadex_promemoria, carrying the schema. The program's own writes are
-- told apart by the server process that sends them.
CREATE FUNCTION scadex_annuncia_cambi() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    PERFORM pg_notify('scadex_promemoria', TG_TABLE_SCHEMA);
    RETURN NULL;
END $$;
CREATE TRIGGER scadex_cambi AFTER INSERT OR UPDATE OR DELETE OR TRUNCATE ON Promemoria
    FOR EACH STATEMENT EXECUTE FUNCTION scadex_annuncia_cambi();
