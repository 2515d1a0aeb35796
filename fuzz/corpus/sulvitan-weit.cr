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
OPTION
1;AUSWERTUNG
GRUPPE 2
"Förster";name
ALLIANZ 4800
"Bund der Eichen";name
27;status
SPRUECHE
"Heilung"
"Feuerball"
MESSAGE 1
2097;type
"Förster (12) verdient 44 Silber durch Arbeit.";rendered
44;amount
REGION 0 0
"Lindenhain";Name
"Wald";Terrain
800;Bauern
12;Lohn
1;ejcOrdersConfirmed
RESOURCE 7
"Bäume";type
300;number
PREISE
1;Balsam
2;Gewuerz
3;Juwel
4;Myrrhe
5;Oel
6;Seide
7;Weihrauch
DURCHREISE
"Kundschafter (77)"
DURCHSCHIFFUNG
"Möwe (88)"
BORDER 3
"Straße";type
1;direction
50;prozent
EINHEIT 12
"Förster";Name
4711;Partei
4;Anzahl
"Elfen";Typ
"Notiz";ejcComment
COMMANDS
"MACHE Holz"
KAMPFZAUBER 1
"Heilung";name
1;level
GEGENSTAENDE
44;Silber
EFFECTS
"Süßer Duft"
MESSAGETYPE 2097
"$unit($unit) verdient $int($amount) Silber.";text
"economy";section
TRANSLATION
"Bauern";Bauern
"Silber";Silber
"Partei";Partei
