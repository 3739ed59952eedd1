// Unit IW14QellDEDXE7: the package itself. Its entry point registers the module record
// when the library is attached to a process and unregisters it when detached; its
// exports hand the unit table to the runtime's loader.

#include "colour/ColourUnits.h"
#include "editor/IWKAVMOBILEDsnColor.h"
#include "package/IWQellRegDE.h"
#include "platform/colors/ColorsUnits.h"
#include "platform/components/Components.h"
#include "platform/designide/DesignUnits.h"
#include "platform/extras/ExtrasUnits.h"
#include "platform/graphics/GraphicsUnits.h"
#include "platform/rtl/PackageResources.h"
#include "platform/rtl/RtlUnits.h"
#include "platform/toolkit/ToolkitUnits.h"

#define QELL_EXPORT(Name) __asm__(Name) __attribute__((visibility("default")))

namespace {

TLibModule ModuleRecord;

// Every unit the package uses, directly or through the packages it requires, each
// after the units it uses: the runtime, the toolkit (with the imaging, action band and
// XML units it reaches), the design-time library, the web colour unit, the component
// package, then the package's own units. Only IWKAVMOBILEDsnColor has work of its own.
#define UNIT(U) {U##_Initialization, U##_Finalization}
#define NO_PROCEDURES {nullptr, nullptr}

} // namespace

// Its size is the entry count `package info` reads, so clang's address sanitizer must
// not pad it with a redzone.
#if defined(__clang__)
__attribute__((no_sanitize("address")))
#endif
extern "C" __attribute__((used)) const TPackageUnitEntry QellPackageUnitTable[] = {
    UNIT(System),         UNIT(SysUtils),      UNIT(Classes),           UNIT(TypInfo),
    UNIT(Colors),         UNIT(Graphics),      UNIT(PngImage),          UNIT(Controls),
    UNIT(Forms),          UNIT(StdCtrls),      UNIT(Dialogs),           UNIT(FormResources),
    UNIT(ActionBands),    UNIT(XmlDocuments),  UNIT(DesignIntf),        UNIT(DesignEditors),
    UNIT(PropertyInspector), UNIT(ColourModel), UNIT(IWColor),          UNIT(IWQellBase),
    UNIT(IWQellSpinner),
    NO_PROCEDURES, // SysInit
    NO_PROCEDURES, // IWKAVMOBILEDsnColorDialog
    UNIT(IWKAVMOBILEDsnColor),
    NO_PROCEDURES, // IWQellRegDE
    NO_PROCEDURES, // IW14QellDEDXE7
};

namespace {

const TPackageInfoTable PackageInfoTable{static_cast<int32_t>(std::size(QellPackageUnitTable)), QellPackageUnitTable};

} // namespace

extern "C" {

// The entry point: 1 when the library is attached to a process, 0 when detached.
// Answers success for every call.
int IW14QellDEDXE7_Initialization(int Reason) QELL_EXPORT("IW14QellDEDXE7.Initialization");
int IW14QellDEDXE7_Initialization(int Reason)
{
    if (Reason == 1) {
        ModuleRecord.Instance = HInstance();
        ModuleRecord.Resources = {QellResourceSection, QellResourceSectionSize};
        ModuleRecord.PackageName = "IW14QellDEDXE7.bpl";
        RegisterModule(ModuleRecord);
    } else if (Reason == 0) {
        UnregisterModule(ModuleRecord);
    }
    return 1;
}

const TPackageInfoTable* GetPackageInfoTable() QELL_EXPORT("GetPackageInfoTable");
const TPackageInfoTable* GetPackageInfoTable()
{
    return &PackageInfoTable;
}
const TPackageInfoTable* IW14QellDEDXE7_GetPackageInfoTable() QELL_EXPORT("IW14QellDEDXE7.GetPackageInfoTable");
const TPackageInfoTable* IW14QellDEDXE7_GetPackageInfoTable()
{
    return &PackageInfoTable;
}

// Load and unload: the unit table's initialisations, and its finalisations in reverse.
void Initialize() QELL_EXPORT("Initialize");
void Initialize()
{
    InitializePackage(PackageInfoTable);
}
void Finalize() QELL_EXPORT("Finalize");
void Finalize()
{
    FinalizePackage(PackageInfoTable);
}
void IW14QellDEDXE7_PackageLoad() QELL_EXPORT("IW14QellDEDXE7.PackageLoad");
void IW14QellDEDXE7_PackageLoad()
{
    Initialize();
}
void IW14QellDEDXE7_PackageUnload() QELL_EXPORT("IW14QellDEDXE7.PackageUnload");
void IW14QellDEDXE7_PackageUnload()
{
    Finalize();
}

} // extern "C"

namespace {

// Attaches when the library is loaded and detaches when it is unloaded. A static object
// of this unit, after the record, so that the record exists first and goes last.
struct TEntryPoint {
    TEntryPoint() { IW14QellDEDXE7_Initialization(1); }
    ~TEntryPoint() { IW14QellDEDXE7_Initialization(0); }
} const EntryPoint;

} // namespace
