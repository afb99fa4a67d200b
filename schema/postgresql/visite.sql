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
-- Tells a running SCADEX at once that the book has changed, so that it need not wait for its
-- next rebuild: one notification per statement on channel scadex_cambi, carrying the schema.
CREATE FUNCTION scadex_annuncia_cambi() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    PERFORM pg_notify('scadex_cambi', TG_TABLE_SCHEMA);
    RETURN NULL;
END $$;
CREATE TRIGGER scadex_cambi AFTER INSERT OR UPDATE OR DELETE OR TRUNCATE ON Appuntamenti
    FOR EACH STATEMENT EXECUTE FUNCTION scadex_annuncia_cambi();
