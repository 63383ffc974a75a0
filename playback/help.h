#pragma once

class App;

// Opens the help file at its contents page. The video window's "Aide"
// button comes here; the help viewer plugs in behind it.
void showHelp(App &app);
