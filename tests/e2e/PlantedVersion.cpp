// Stands in for a version.dll planted beside a downloaded Vellicor.exe. Its version
// functions all fail, so a program that used it could show no version. (Under Wine it is
// loaded at every start anyway, by Wine's own user32, so whether it was loaded tells
// nothing: only its use can be seen.)
extern "C" int PlantedVersionFails() { return 0; }
