// KELM: water and steam thermodynamic properties after the IFC-67 industrial formulation.
#include "shell/calcapp.h"

int main(int argc, char** argv) {
  CCalcApp app(argc, argv);
  app.InitInstance();
  return 0;
}
