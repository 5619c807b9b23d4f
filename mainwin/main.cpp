#include <windows.h>

#include "mainwin/quintorapp.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  CQuintorApp app;
  app.InitInstance();
  return 0;
}
