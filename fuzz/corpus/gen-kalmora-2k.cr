VERSION 42
"Kalmora";Spiel
36;Basis
1;Umlaute
40;Runde
PARTEI 4711
"geheim15";Passwort
62;Rekrutierungskosten
2986;Punkte
2537;Punktedurchschnitt
"Die Grauen Falken";Parteiname
"falken@example.org";email
3;Anzahl Immigranten
5;Max. Immigranten
OPTIONEN
1;AUSWERTUNG
1;COMPUTER
FEHLER
x"Einheit 2s: Befehl ZERSTOERE nicht erkannt."
WARNUNGEN
x"In Weidenau droht eine Hungersnot."
MELDUNGEN
x"Ein Händler erzählt von fernen Inseln."
EREIGNISSE
x"Die Orks in Schattental vermehren sich um 3 Orks."
x"Die Orks in Moorgrund vermehren sich um 4 Orks."
MESSAGE 1000
2097;type
"Die Einheit Späher (2am) verdient 11 Silber durch Arbeit.";rendered
11;amount
MESSAGE 1001
21740;type
"Schmiede (1bd) produziert 23 Holz.";rendered
MESSAGE 1002
21740;type
"Bauern (342) produziert 12 Holz.";rendered
MESSAGE 1003
364;type
"Händler (2u) kauft 5 Seide für 200 Silber.";rendered
BATTLE 0 -2
MESSAGE 1004
2224;type
"Die Wachen (2s) kämpfen tapfer.";rendered
MESSAGE 1005
3633;type
"Händler (o3) findet einen Schatz.";rendered
MESSAGE 1006
2097;type
"Die Einheit Reiter (3tb) verdient 294 Silber durch Arbeit.";rendered
294;amount
MESSAGE 1007
2097;type
"Die Einheit Seeleute (2a8) verdient 186 Silber durch Arbeit.";rendered
186;amount
MESSAGE 1008
2097;type
"Die Einheit Wachen (2mm) verdient 49 Silber durch Arbeit.";rendered
49;amount
MESSAGE 1009
2097;type
"Die Einheit Reiter (246) verdient 259 Silber durch Arbeit.";rendered
259;amount
ALLIIERTE
4712;Partei
"Bund der Eichen";Parteiname
27;Status
4713;Partei
"Die Stillen";Parteiname
27;Status
4714;Partei
"Nordwacht";Parteiname
9;Status
ADRESSEN
4712;Partei
"Bund der Eichen";Parteiname
"partei1@example.org";email
"Gemeinsam stark";banner
4713;Partei
"Die Stillen";Parteiname
"partei2@example.org";email
4714;Partei
"Nordwacht";Parteiname
"partei3@example.org";email
"Gemeinsam stark";banner
4715;Partei
"Söhne des Sturms";Parteiname
"partei4@example.org";email
4716;Partei
"Kinder der Flut";Parteiname
"partei5@example.org";email
"Gemeinsam stark";banner
4717;Partei
"Eisenhand";Parteiname
"partei6@example.org";email
4718;Partei
"Grauer Rat";Parteiname
"partei7@example.org";email
"Gemeinsam stark";banner
4719;Partei
"Die Fünf";Parteiname
"partei8@example.org";email
REGION -128 -128
"Eschenhöh";Name
"Sumpf";Terrain
"Eine Gegend wie viele.";Beschr
436;Baeume
3588;Bauern
19;Pferde
88834;Silber
1595;Unterh
69;Rekruten
15;Lohn
PREISE
93;Balsam
-2;Gewuerz
55;Juwel
60;Myrrhe
125;Oel
30;Seide
94;Weihrauch
BURG 107
"Burg";Typ
"Feste 2z";Name
297;Groesse
BURG 115
"Burg";Typ
"Feste 37";Name
229;Groesse
102;Besitzer
4718;Partei
36;Unterhalt
EINHEIT 102
"Bäcker";Name
4718;Partei
20;Anzahl
"Halblinge";Typ
115;Burg
EINHEIT 105
"Seeleute";Name
4711;Partei
11;Anzahl
"Elfen";Typ
2;Kampfstatus
COMMANDS
"UNTERHALTE"
TALENTE
621 9;Straßenbau
105 3;Ausdauer
1470 7;Holzfällen
399 3;Bogenschießen
GEGENSTAENDE
907;Silber
3;Schild
EINHEIT 108
"Magier";Name
4717;Partei
12;Anzahl
"Elfen";Typ
1;Kampfstatus
GEGENSTAENDE
1470;Silber
EINHEIT 109
"Bäcker";Name
4711;Partei
37;Anzahl
"Menschen";Typ
115;Burg
1;Kampfstatus
COMMANDS
"// Sammler für später"
"BEWACHE"
TALENTE
420 4;Ausdauer
GEGENSTAENDE
2661;Silber
38;Silberbeutel
22;Elfenlieb
EINHEIT 113
"Magier";Name
4719;Partei
24;Anzahl
"Elfen";Typ
3;Kampfstatus
EINHEIT 114
"Wachen";Name
4714;Partei
28;Anzahl
"Zwerge";Typ
2;Kampfstatus
EINHEIT 115
"Schmiede";Name
4711;Partei
18;Anzahl
"Elfen";Typ
COMMANDS
TALENTE
162 2;Ausdauer
648 8;Taktik
616 8;Ausdauer
GEGENSTAENDE
1883;Silber
30;Speer
18;Wagen
34;Eisen
