-- VisiteDV.mdb: the host product's appointment book.
CREATE TABLE Appuntamenti (
    ApCliente INTEGER, ApData REAL, ApAzione TEXT COLLATE NOCASE, ApAllarm REAL,
    ApDelete TEXT COLLATE NOCASE, ApStato TEXT COLLATE NOCASE,
    ApNote TEXT, ApCausa TEXT, ApDocumento TEXT);
CREATE UNIQUE INDEX primaria ON Appuntamenti (ApCliente, ApData, ApAzione);
