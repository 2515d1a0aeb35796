VERSION 42
"Sulvitan";Spiel
10;Basis
0;Umlaute
25;Runde
PARTEI 4711
"linde";Passwort
50;Rekrutierungskosten
120;Punkte
100;Punktedurchschnitt
"Lindenhüter";Parteiname
MESSAGE 1
2097;type
"Förster (12) verdient 44 Silber durch Arbeit.";rendered
44;amount
REGION 0 0
"Lindenhain";Name
"Wald";Terrain
800;Bauern
12;Lohn
PREISE
1;Balsam
2;Gewuerz
3;Juwel
4;Myrrhe
5;Oel
6;Seide
7;Weihrauch
EINHEIT 12
"Förster";Name
4711;Partei
4;Anzahl
"Elfen";Typ
COMMANDS
"MACHE Holz"
GEGENSTAENDE
44;Silber
