-- WorkDV.mdb: the reminder table and the look-up tables.
CREATE TABLE Promemoria (
    PmCliente INTEGER, PmData REAL, PmAzione TEXT COLLATE NOCASE, PmAllarm REAL,
    PmWait TEXT COLLATE NOCASE, PmDocumento TEXT);
CREATE UNIQUE INDEX primaria ON Promemoria (PmCliente, PmData, PmAzione);
CREATE TABLE Clienti (CliCodice INTEGER, CliRagsoc TEXT, CliRagsocEstesa TEXT);
CREATE TABLE TabAzioni (TbaCodice TEXT COLLATE NOCASE, TbaDescrizione TEXT, TbaColore);
