VERSION 42
"Kalmora";Spiel
36;Basis
1;Umlaute
40;Runde
PARTEI 4711
"geheim50";Passwort
76;Rekrutierungskosten
1690;Punkte
1481;Punktedurchschnitt
"Die Grauen Falken";Parteiname
"falken@example.org";email
1;Anzahl Immigranten
8;Max. Immigranten
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
3633;type
"Bauern (33L) findet einen Schatz.";rendered
MESSAGE 1001
21740;type
"Bäcker (256) produziert 18 Holz.";rendered
MESSAGE 1002
2097;type
"Die Einheit Holzfäller (3e7) verdient 261 Silber durch Arbeit.";rendered
261;amount
MESSAGE 1003
2097;type
"Die Einheit Reiter (1k7) verdient 234 Silber durch Arbeit.";rendered
234;amount
MESSAGE 1004
4419;type
"Reiter (t0) segelt nach Grünwald.";rendered
MESSAGE 1005
2097;type
"Die Einheit Seeleute (1q2) verdient 259 Silber durch Arbeit.";rendered
259;amount
MESSAGE 1006
2097;type
"Die Einheit Späher (3tm) verdient 179 Silber durch Arbeit.";rendered
179;amount
BATTLE 1 5
MESSAGE 1007
2224;type
"Die Wachen (2s) kämpfen tapfer.";rendered
MESSAGE 1008
364;type
"Späher (1t2) kauft 5 Seide für 200 Silber.";rendered
MESSAGE 1009
2420;type
"Schmiede (1g5) reitet von Weidenau nach Süderau.";rendered
MESSAGE 1010
21740;type
"Bauern (16r) produziert 10 Holz.";rendered
MESSAGE 1011
2097;type
"Die Einheit Bogenschützen (17z) verdient 13 Silber durch Arbeit.";rendered
13;amount
MESSAGE 1012
21740;type
"Bogenschützen (2ia) produziert 12 Holz.";rendered
MESSAGE 1013
2097;type
"Die Einheit Händler (3ge) verdient 141 Silber durch Arbeit.";rendered
141;amount
MESSAGE 1014
2097;type
"Die Einheit Bauern (1ub) verdient 111 Silber durch Arbeit.";rendered
111;amount
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
"Falkenried";Name
"Berge";Terrain
"Eine Gegend wie viele.";Beschr
283;Baeume
1428;Bauern
5;Pferde
38614;Silber
3502;Unterh
77;Rekruten
15;Lohn
57;Eisen
16;Laen
PREISE
133;Balsam
120;Gewuerz
80;Juwel
-17;Myrrhe
107;Oel
-30;Seide
-24;Weihrauch
BURG 105
"Burg";Typ
"Feste 2x";Name
220;Groesse
102;Besitzer
4711;Partei
59;Unterhalt
EINHEIT 101
"Bäcker";Name
4711;Partei
4;Anzahl
"Halblinge";Typ
317;Ladung
536;Kapazitaet
COMMANDS
"LERNE Hiebwaffen"
"TREIBE"
"// Sammler für später"
"LERNE Wahrnehmung"
TALENTE
410 5;Burgenbau
262 1;Segeln
1505 7;Tarnung
536 8;Wahrnehmung
GEGENSTAENDE
2144;Silber
19;Heiltrank
11;Öl
EINHEIT 102
"Magier";Name
4711;Partei
21;Anzahl
"Halblinge";Typ
105;Burg
1;Kampfstatus
15;Aura
30;Auramax
COMMANDS
"TREIBE"
"NACH o no"
"LERNE Wahrnehmung"
TALENTE
1496 8;Burgenbau
1554 6;Taktik
SPRUECHE
"Segen der Erde"
GEGENSTAENDE
608;Silber
38;Silberbeutel
EINHEIT 106
"Bogenschützen";Name
4711;Partei
10;Anzahl
"Zwerge";Typ
105;Burg
0;Kampfstatus
"gut";hp
COMMANDS
"KAUFE Balsam"
"KAUFE Balsam"
TALENTE
1180 5;Tarnung
945 9;Tarnung
GEGENSTAENDE
864;Silber
EINHEIT 107
"Bogenschützen";Name
4711;Partei
6;Anzahl
"Zwerge";Typ
105;Burg
0;Kampfstatus
"gut";hp
COMMANDS
"BEWACHE"
"LERNE Hiebwaffen"
"BEWACHE"
TALENTE
80 1;Wahrnehmung
603 3;Holzfällen
382 2;Wahrnehmung
GEGENSTAENDE
2152;Silber
20;Schild
23;Eisen
22;Stein
EINHEIT 108
"Schmiede";Name
4711;Partei
19;Anzahl
"Halblinge";Typ
3;Kampfstatus
351;Ladung
580;Kapazitaet
COMMANDS
"VERKAUFE 5 Öl"
"VERKAUFE 5 Öl"
"LERNE Hiebwaffen"
"LERNE Wahrnehmung"
TALENTE
198 2;Segeln
788 4;Taktik
GEGENSTAENDE
1223;Silber
9;Stein
4;Holz
15;Wagen
EINHEIT 112
"Seeleute";Name
4711;Partei
39;Anzahl
"Menschen";Typ
105;Burg
COMMANDS
TALENTE
180 6;Kräuterkunde
301 7;Hiebwaffen
GEGENSTAENDE
637;Silber
EINHEIT 116
"Magier";Name
4717;Partei
3;Anzahl
"Orks";Typ
EINHEIT 119
"Reiter";Name
4716;Partei
29;Anzahl
"Elfen";Typ
2;Kampfstatus
GEGENSTAENDE
2579;Silber
EINHEIT 123
"Wachen";Name
4711;Partei
27;Anzahl
"Zwerge";Typ
105;Burg
"gut";hp
COMMANDS
"MACHE Holz"
"MACHE Holz"
"TREIBE"
"UNTERHALTE"
TALENTE
514 2;Wahrnehmung
865 5;Magie
GEGENSTAENDE
1082;Silber
4;Eisen
17;Öl
EINHEIT 124
"Späher";Name
4711;Partei
12;Anzahl
"Zwerge";Typ
1;Kampfstatus
COMMANDS
"UNTERHALTE"
"VERKAUFE 5 Öl"
"TREIBE"
TALENTE
396 4;Bogenschießen
1638 9;Burgenbau
GEGENSTAENDE
1307;Silber
22;Kettenhemd
39;Öl
5;Silberbeutel
