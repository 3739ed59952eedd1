#pragma once
// The designer's help, for F1: a short box of its keys, whose Packages button shows the
// design packages loaded at start (LoadedPackages, apps/designer/packages/PackageList.h), each
// with its description and path, loaded or why it failed. Both are message boxes, so
// scripts drive them by their buttons: "OK", "Packages".

// The keys box; the packages box after it when its Packages button is pressed.
void ShowDesignerHelp();
void ShowLoadedPackages();
