VERSION 42
"Kalmora";Spiel
36;Basis
1;Umlaute
40;Runde
PARTEI 4711
"brombeere";Passwort
60;Rekrutierungskosten
812;Punkte
700;Punktedurchschnitt
"Die Grauen Falken";Parteiname
"falken@example.org";email
2;Anzahl Immigranten
6;Max. Immigranten
OPTION
1;AUSWERTUNG
0;ZIPPED
GRUPPE 1
"Wächter";name
1;typprefix
OPTIONEN
1;AUSWERTUNG
ZUSATZ
"Notiz des Spielers";text
FEHLER
x"Einheit 3mw: Befehl ZERSTOERE nicht erkannt."
WARNUNGEN
x"In Weidenau droht eine Hungersnot."
MELDUNGEN
x"Ein Händler erzählt von fernen Inseln."
EREIGNISSE
x"Die Horde (3n1) vermehrt sich um 3 Orks."
x"Die Bande (3n2) vermehrt sich um 4 Orks."
MESSAGE 100
2097;type
"Die Einheit Holzfäller (3mw) verdient 120 Silber durch Arbeit.";rendered
120;amount
MESSAGE 101
2097;type
"Die Einheit Bäcker (3mx) verdient 30 Silber durch Arbeit.";rendered
30;amount
MESSAGE 102
364;type
"Händler (3my) kauft 5 Seide für 200 Silber.";rendered
MESSAGE 103
21740;type
"Holzfäller (3mw) produziert 12 Holz.";rendered
MESSAGE 104
4419;type
"Die Wache (3mz) wird angegriffen.";rendered
BATTLE 1 2
MESSAGE 105
2224;type
"Die Wache (3mz) kämpft tapfer.";rendered
MESSAGE 106
4419;type
"Der Reiter (3n0) reitet nach Weidenau.";rendered
EFFECTS
"Ein Nebel liegt über dem Land"
ALLIIERTE
4800;Partei
"Bund der Eichen";Parteiname
27;Status
4801;Partei
"Die Stillen";Parteiname
9;Status
ADRESSEN
4800;Partei
"Bund der Eichen";Parteiname
"eichen@example.org";email
"Gemeinsam stark";banner
4801;Partei
"Die Stillen";Parteiname
"still@example.org";email
REGION 1 2
"Weidenau";Name
"Ebene";Terrain
"Sanfte Hügel und weite Felder.";Beschr
420;Baeume
2350;Bauern
80;Pferde
51000;Silber
2100;Unterh
58;Rekruten
13;Lohn
1;ejcOrdersConfirmed
"Wachposten";ejcComment
RESOURCE 1
"Bauern";type
2350;number
RESOURCE 2
"Silber";type
51000;number
RESOURCE 3
"Eisen";type
12;skill
-1;number
PREISE
12;Balsam
-8;Gewuerz
40;Juwel
22;Myrrhe
-15;Oel
30;Seide
18;Weihrauch
EFFECTS
"Die Erde bebt"
GRENZE 17
"Straße";typ
2;richtung
75;prozent
BORDER 18
"Straße";type
3;direction
100;prozent
UMGEBUNG
"Ein Bach fließt nach Osten."
KOMMENTAR
"Hier wohnt ein Drache."
BURG 245
"Burg";Typ
"Falkenhorst";Name
250;Groesse
4712;Besitzer
4711;Partei
SCHIFF 77
"Seeschwalbe";Name
"Boot";Typ
3;Groesse
4713;Kapitaen
2;Kueste
EINHEIT 4712
"Holzfäller";Name
4711;Partei
12;Anzahl
"Menschen";Typ
245;Burg
1;ejcOrdersConfirmed
EFFECTS
"Müde"
COMMANDS
"MACHE Holz"
"FOLGE EINHEIT 3mx"
TALENTE
360 3;Holzfällen
120 2;Bogenschießen
KAMPFZAUBER 0
"Feuerball";name
3;level
GEGENSTAENDE
340;Silber
5;Holz
EINHEIT 4713
"Bäcker";Name
4711;Partei
3;Anzahl
"Menschen";Typ
77;Schiff
1;Kampfstatus
7;ejcTurnsLeft
COMMANDS
"LERNE Segeln"
GEGENSTAENDE
90;Silber
EINHEIT 4714
"Händler";Name
4711;Partei
2;Anzahl
"Zwerge";Typ
1;bewacht
COMMANDS
"KAUFE 5 Seide"
TALENTE
300 4;Handeln
40 1;Feilschen
GEGENSTAENDE
500;Silber
1;Silbertruhe
ZUSATZ
"Ein alter Freund"
EINHEIT 5000
"Fremde Späher";Name
4800;Partei
4;Anzahl
"Elfen";Typ
REGION 2 2
"Ozean";Terrain
DURCHREISE
"Seeschwalbe (25)"
DURCHSCHIFFUNG
"Möwe (abc)"
"Kraken (3n9)"
REGION 3 -4 1
"Schattental";Name
"Sumpf";Terrain
1250;Bauern
PREISE
1;Balsam
2;Gewuerz
3;Juwel
4;Myrrhe
5;Oel
6;Seide
7;Weihrauch
EINHEIT 4715
"Späher der Tiefe";Name
4711;Partei
1;Anzahl
"Untote";Typ
GEGENSTAENDE
10;Silber
REGION 5 5
"Leerland";Name
"Wueste";Terrain
ZAUBER 12
"Segen der Erde";name
"Die Ähren wachsen.";info
2;level
TRANK 4
"Heiltrank";Name
2;Stufe
MESSAGETYPE 2097
"$unit($unit) verdient $int($amount) Silber.";text
"economy";section
MESSAGETYPE 364
"$unit($unit) kauft.";text
"economy";section
TRANSLATION
"Bauern";Bauern
"Anzahl";Anzahl
"Silber";Silber
"Runde";Runde
"REGION";REGION
