#pragma once
// The launchers of the main window's maintenance commands: the raw record editor, and the registration
// imports of ".\Deltagere.csv" and ".\tilmeldinger.csv" into the open meet.

class QWidget;

// Shows the raw record editor. Its edits may change the open meet's records under the managers, so the
// meets are listed anew and the open meet is read again afterwards.
void RedigerTabeller(QWidget* owner);
// Read the file into the open meet and show in one box what was made and which lines have a remark.
// A file that cannot be read or records that cannot be stored raise, and nothing of the file is stored.
void IndlaesDeltagereFil(QWidget* owner);
void IndlaesRedidFil(QWidget* owner);
