VERSION 42
"Sulvitan";Spiel
10;Basis
1;Umlaute
40;Runde
PARTEI 4711
"geheim73";Passwort
54;Rekrutierungskosten
1647;Punkte
1116;Punktedurchschnitt
"Die Grauen Falken";Parteiname
"falken@example.org";email
0;Anzahl Immigranten
12;Max. Immigranten
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
2097;type
"Die Einheit Späher (4141) verdient 76 Silber durch Arbeit.";rendered
76;amount
MESSAGE 1001
2097;type
"Die Einheit Händler (2902) verdient 128 Silber durch Arbeit.";rendered
128;amount
MESSAGE 1002
2097;type
"Die Einheit Bauern (659) verdient 200 Silber durch Arbeit.";rendered
200;amount
MESSAGE 1003
4419;type
"Reiter (291) segelt nach Grünwald.";rendered
MESSAGE 1004
2420;type
"Händler (2884) reitet von Weidenau nach Süderau.";rendered
BATTLE 1 5
MESSAGE 1005
2224;type
"Die Wachen (100) kämpfen tapfer.";rendered
MESSAGE 1006
2097;type
"Die Einheit Magier (2669) verdient 63 Silber durch Arbeit.";rendered
63;amount
MESSAGE 1007
2420;type
"Schmiede (3850) reitet von Weidenau nach Süderau.";rendered
MESSAGE 1008
364;type
"Seeleute (1053) kauft 5 Seide für 200 Silber.";rendered
MESSAGE 1009
364;type
"Wachen (999) kauft 5 Seide für 200 Silber.";rendered
MESSAGE 1010
2097;type
"Die Einheit Bäcker (1285) verdient 247 Silber durch Arbeit.";rendered
247;amount
MESSAGE 1011
3633;type
"Bauern (3600) findet einen Schatz.";rendered
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
"Moorgrund";Name
"Wueste";Terrain
"Eine Gegend wie viele.";Beschr
10;Baeume
2986;Bauern
15;Pferde
10781;Silber
1495;Unterh
41;Rekruten
14;Lohn
PREISE
75;Balsam
55;Gewuerz
44;Juwel
45;Myrrhe
77;Oel
27;Seide
-17;Weihrauch
GRENZE 66258
"Straße";typ
5;richtung
50;prozent
GRENZE 86882
"Straße";typ
0;richtung
75;prozent
DURCHREISE
"Händlerzug (274)"
SCHIFF 109
"Möwe 109";Name
"Drachenschiff";Typ
165;Groesse
104;Kapitaen
4711;Partei
0;Kueste
477;Ladung
778;MaxLadung
EINHEIT 101
"Bogenschützen";Name
4711;Partei
37;Anzahl
"Elfen";Typ
COMMANDS
"TREIBE"
"NACH o no"
TALENTE
987 7;Straßenbau
GEGENSTAENDE
345;Silber
8;Gewürz
EINHEIT 104
"Holzfäller";Name
4711;Partei
40;Anzahl
"Halblinge";Typ
109;Schiff
COMMANDS
"VERKAUFE 5 Öl"
"TREIBE"
"LERNE Wahrnehmung"
"// Sammler für später"
TALENTE
116 2;Taktik
GEGENSTAENDE
1748;Silber
EINHEIT 106
"Holzfäller";Name
4718;Partei
1;Anzahl
"Halblinge";Typ
0;Kampfstatus
EINHEIT 110
"Händler";Name
4711;Partei
20;Anzahl
"Halblinge";Typ
330;Ladung
1421;Kapazitaet
COMMANDS
"LERNE Wahrnehmung"
"// Sammler für später"
"LERNE Wahrnehmung"
TALENTE
985 5;Burgenbau
897 3;Hiebwaffen
GEGENSTAENDE
1112;Silber
30;Eisen
28;Pferd
EINHEIT 114
"Bogenschützen";Name
4716;Partei
16;Anzahl
"Zwerge";Typ
EINHEIT 118
"Holzfäller";Name
4719;Partei
17;Anzahl
"Elfen";Typ
3;Kampfstatus
GEGENSTAENDE
2157;Silber
