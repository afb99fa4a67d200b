-- VisiteDV on a PostgreSQL server: the host product's appointment book, in the schema the
-- descriptor's search_path names. Text compares without regard to case, as on the host's
-- engine; date-times are day serials. rowid is the row identity the program's table cursors
-- walk by: the host never names it.
CREATE COLLATION IF NOT EXISTS nocase (provider = icu, locale = 'und-u-ks-level2',
                                      deterministic = false);
CREATE TABLE Appuntamenti (
    ApCliente integer, ApData double precision, ApAzione text COLLATE nocase,
    ApAllarm double precision, ApDelete text COLLATE nocase, ApStato text COLLATE nocase,
    ApNote text, ApCausa text, ApDocumento text,
    rowid bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY);
-- A Null key part sorts first, as on the host's engine.
CREATE UNIQUE INDEX primaria ON Appuntamenti (ApCliente NULLS FIRST, ApData NULLS FIRST,
                                            ApAzione NULLS FIRST);
-- The rebuild reads the appointments from today on: without this it reads the whole book.
CREATE INDEX IF NOT EXISTS appuntamenti_data ON Appuntamenti (ApData);
-- Tells a running SCADEX at once which rows of the book have changed, so that it need not wait
-- for its next rebuild, nor read the whole book: one notification per statement on channel
-- scadex_cambi, carrying the schema, a line feed and the rowids old and new, comma-separated;
-- "tutto" instead of the rowids when they would not fit the notification (8000 bytes: 350
-- rowids of up to 20 bytes each leave room for the schema), or for a TRUNCATE.
CREATE FUNCTION scadex_annuncia_cambi() RETURNS trigger LANGUAGE plpgsql AS $$
DECLARE
    righe bigint[];
BEGIN
    -- At most one over the limit is read, whatever the statement's size.
    IF TG_OP = 'INSERT' THEN
        righe := ARRAY(SELECT rowid FROM nuove LIMIT 351);
    ELSIF TG_OP = 'UPDATE' THEN
        righe := ARRAY((SELECT rowid FROM vecchie LIMIT 351)
                       UNION (SELECT rowid FROM nuove LIMIT 351));
    ELSIF TG_OP = 'DELETE' THEN
        righe := ARRAY(SELECT rowid FROM vecchie LIMIT 351);
    END IF;
    PERFORM pg_notify('scadex_cambi', TG_TABLE_SCHEMA || E'\n' ||
        CASE WHEN righe IS NULL OR cardinality(righe) > 350 THEN 'tutto'
             ELSE array_to_string(righe, ',') END);
    RETURN NULL;
END $$;
-- Transition tables need a trigger per event, and a TRUNCATE has none.
CREATE TRIGGER scadex_cambi_inserite AFTER INSERT ON Appuntamenti
    REFERENCING NEW TABLE AS nuove
    FOR EACH STATEMENT EXECUTE FUNCTION scadex_annuncia_cambi();
CREATE TRIGGER scadex_cambi_modificate AFTER UPDATE ON Appuntamenti
    REFERENCING OLD TABLE AS vecchie NEW TABLE AS nuove
    FOR EACH STATEMENT EXECUTE FUNCTION scadex_annuncia_cambi();
CREATE TRIGGER scadex_cambi_cancellate AFTER DELETE ON Appuntamenti
    REFERENCING OLD TABLE AS vecchie
    FOR EACH STATEMENT EXECUTE FUNCTION scadex_annuncia_cambi();
CREATE TRIGGER scadex_cambi_svuotata AFTER TRUNCATE ON Appuntamenti
    FOR EACH STATEMENT EXECUTE FUNCTION scadex_annuncia_cambi();
