#pragma once

// The families of screens the screens tool renders. Each family is one function in one file,
// tests/Tessaron/screens/Screens<Family>.cpp, that builds its screens in their named states
// (over a real AppState, and BrokerSessions over fakes or over the demo brokers of
// tests/support/demo) and hands each to the shooter as "<screen>-<state>".
//
// A family deletes what it builds; a window it leaves open is closed before the next family.
//
// Adding a family takes three lines: its declaration below, its entry in the family table of
// main.cpp, and its file in the source list of CMakeLists.txt.

namespace tessaron {

class ScreenShooter;

void shootApp(ScreenShooter& shooter);
void shootReception(ScreenShooter& shooter);
void shootWorkspace(ScreenShooter& shooter);
void shootBrowser(ScreenShooter& shooter);
void shootCasework(ScreenShooter& shooter);
void shootActions(ScreenShooter& shooter);
void shootSettings(ScreenShooter& shooter);
void shootIntro(ScreenShooter& shooter);

} // namespace tessaron
