#pragma once
// The program-wide references to the lasting windows, set once at start-up.

class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;

extern TForm1 *Form1; // the main window
extern TForm2 *Form2; // the download dialog
extern TForm3 *Form3; // the splash window, only during start-up
extern TForm4 *Form4; // the About window
extern TForm5 *Form5; // the chart window
