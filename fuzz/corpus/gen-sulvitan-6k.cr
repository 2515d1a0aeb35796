VERSION 42
"Sulvitan";Spiel
10;Basis
1;Umlaute
13;Runde
PARTEI 4711
"geheim68";Passwort
90;Rekrutierungskosten
3894;Punkte
1509;Punktedurchschnitt
"Die Grauen Falken";Parteiname
"falken@example.org";email
1;Anzahl Immigranten
6;Max. Immigranten
OPTIONEN
1;AUSWERTUNG
1;COMPUTER
FEHLER
x"Einheit 100: Befehl ZERSTOERE nicht erkannt."
WARNUNGEN
x"In Weidenau droht eine Hungersnot."
MELDUNGEN
x"Ein Händler erzählt von fernen Inseln."
EREIGNISSE
x"Die Orks in Schattental vermehren sich um 3 Orks."
x"Die Orks in Moorgrund vermehren sich um 4 Orks."
MESSAGE 1000
3633;type
"Magier (4018) findet einen Schatz.";rendered
MESSAGE 1001
21740;type
"Schmiede (1031) produziert 5 Holz.";rendered
MESSAGE 1002
21740;type
"Späher (4352) produziert 22 Holz.";rendered
MESSAGE 1003
2097;type
"Die Einheit Magier (2349) verdient 264 Silber durch Arbeit.";rendered
264;amount
MESSAGE 1004
2097;type
"Die Einheit Reiter (4285) verdient 284 Silber durch Arbeit.";rendered
284;amount
MESSAGE 1005
2097;type
"Die Einheit Bäcker (389) verdient 30 Silber durch Arbeit.";rendered
30;amount
MESSAGE 1006
21740;type
"Reiter (2851) produziert 26 Holz.";rendered
MESSAGE 1007
2097;type
"Die Einheit Händler (3597) verdient 166 Silber durch Arbeit.";rendered
166;amount
MESSAGE 1008
4419;type
"Reiter (239) segelt nach Grünwald.";rendered
BATTLE 5 4
MESSAGE 1009
2224;type
"Die Wachen (100) kämpfen tapfer.";rendered
MESSAGE 1010
2097;type
"Die Einheit Wachen (1168) verdient 22 Silber durch Arbeit.";rendered
22;amount
MESSAGE 1011
4419;type
"Bauern (2663) segelt nach Grünwald.";rendered
MESSAGE 1012
2097;type
"Die Einheit Seeleute (3317) verdient 96 Silber durch Arbeit.";rendered
96;amount
MESSAGE 1013
2097;type
"Die Einheit Späher (2495) verdient 130 Silber durch Arbeit.";rendered
130;amount
MESSAGE 1014
2097;type
"Die Einheit Reiter (2940) verdient 166 Silber durch Arbeit.";rendered
166;amount
MESSAGE 1015
21740;type
"Bogenschützen (766) produziert 23 Holz.";rendered
MESSAGE 1016
2420;type
"Bogenschützen (4539) reitet von Weidenau nach Süderau.";rendered
MESSAGE 1017
2420;type
"Bogenschützen (2918) reitet von Weidenau nach Süderau.";rendered
MESSAGE 1018
4419;type
"Händler (4917) segelt nach Grünwald.";rendered
MESSAGE 1019
4419;type
"Bogenschützen (2691) segelt nach Grünwald.";rendered
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
"Wald";Terrain
"Eine Gegend wie viele.";Beschr
879;Baeume
3933;Bauern
8;Pferde
77363;Silber
2115;Unterh
78;Rekruten
14;Lohn
PREISE
134;Balsam
97;Gewuerz
103;Juwel
40;Myrrhe
72;Oel
88;Seide
13;Weihrauch
GRENZE 22631
"Straße";typ
3;richtung
100;prozent
EINHEIT 104
"Bäcker";Name
4711;Partei
25;Anzahl
"Halblinge";Typ
2;Kampfstatus
COMMANDS
"TREIBE"
"VERKAUFE 5 Öl"
TALENTE
289 1;Kräuterkunde
GEGENSTAENDE
2930;Silber
16;Schild
11;Speer
35;Holz
EINHEIT 106
"Seeleute";Name
4711;Partei
16;Anzahl
"Menschen";Typ
COMMANDS
"LERNE Hiebwaffen"
"BEWACHE"
"KAUFE Balsam"
TALENTE
167 1;Wahrnehmung
GEGENSTAENDE
326;Silber
EINHEIT 109
"Bogenschützen";Name
4711;Partei
24;Anzahl
"Elfen";Typ
394;Ladung
1604;Kapazitaet
COMMANDS
"NACH o no"
"UNTERHALTE"
TALENTE
777 3;Bogenschießen
1017 9;Kräuterkunde
GEGENSTAENDE
2945;Silber
12;Pferd
EINHEIT 110
"Späher";Name
4716;Partei
2;Anzahl
"Halblinge";Typ
3;Kampfstatus
GEGENSTAENDE
1031;Silber
EINHEIT 111
"Händler";Name
4719;Partei
22;Anzahl
"Menschen";Typ
EINHEIT 113
"Holzfäller";Name
4711;Partei
39;Anzahl
"Elfen";Typ
0;Kampfstatus
COMMANDS
"LERNE Hiebwaffen"
TALENTE
1136 4;Kräuterkunde
2349 9;Handeln
220 4;Burgenbau
GEGENSTAENDE
179;Silber
10;Wagen
20;Silberbeutel
30;Schild
REGION -127 -128
"Rabenhorst";Name
"Gletscher";Terrain
"Eine Gegend wie viele.";Beschr
775;Baeume
3748;Bauern
51;Pferde
80219;Silber
3112;Unterh
44;Rekruten
12;Lohn
PREISE
11;Balsam
95;Gewuerz
57;Juwel
40;Myrrhe
39;Oel
123;Seide
120;Weihrauch
UMGEBUNG
"Im Norden liegt ein Wald."
EINHEIT 114
"Wachen";Name
4711;Partei
39;Anzahl
"Elfen";Typ
COMMANDS
"KAUFE Balsam"
"NACH o no"
"KAUFE Balsam"
TALENTE
354 3;Handeln
50 1;Taktik
120 3;Hiebwaffen
GEGENSTAENDE
731;Silber
15;Schwert
EINHEIT 115
"Bäcker";Name
4714;Partei
40;Anzahl
"Orks";Typ
3;Kampfstatus
GEGENSTAENDE
2887;Silber
EINHEIT 119
"Magier";Name
4718;Partei
13;Anzahl
"Elfen";Typ
EINHEIT 120
"Holzfäller";Name
4711;Partei
24;Anzahl
"Zwerge";Typ
1;Kampfstatus
1;bewacht
COMMANDS
"TREIBE"
"KAUFE Balsam"
"BEWACHE"
"NACH o no"
TALENTE
360 6;Taktik
186 2;Tarnung
2349 9;Tarnung
1722 6;Burgenbau
GEGENSTAENDE
230;Silber
36;Holz
37;Pferd
EINHEIT 124
"Magier";Name
4711;Partei
16;Anzahl
"Elfen";Typ
2;Kampfstatus
"gut";hp
20;Aura
30;Auramax
COMMANDS
"LERNE Hiebwaffen"
TALENTE
960 5;Steinbau
234 1;Taktik
SPRUECHE
"Nebelwand"
GEGENSTAENDE
172;Silber
22;Holz
12;Holz
2;Kettenhemd
EINHEIT 125
"Holzfäller";Name
4711;Partei
11;Anzahl
"Zwerge";Typ
3;Kampfstatus
1;bewacht
COMMANDS
"LERNE Hiebwaffen"
"UNTERHALTE"
"KAUFE Balsam"
"VERKAUFE 5 Öl"
TALENTE
952 8;Wahrnehmung
1160 4;Wahrnehmung
210 1;Holzfällen
894 3;Bergbau
GEGENSTAENDE
2078;Silber
38;Elfenlieb
6;Speer
25;Speer
EINHEIT 127
"Späher";Name
4711;Partei
13;Anzahl
"Zwerge";Typ
2;Kampfstatus
COMMANDS
"MACHE Holz"
"LERNE Wahrnehmung"
"// Sammler für später"
"MACHE Holz"
TALENTE
625 5;Kräuterkunde
168 1;Taktik
GEGENSTAENDE
582;Silber
27;Pferd
EINHEIT 128
"Seeleute";Name
4711;Partei
11;Anzahl
"Menschen";Typ
2;Kampfstatus
"gut";hp
COMMANDS
"LERNE Hiebwaffen"
TALENTE
160 2;Kräuterkunde
760 4;Kräuterkunde
GEGENSTAENDE
675;Silber
31;Öl
8;Öl
16;Kettenhemd
