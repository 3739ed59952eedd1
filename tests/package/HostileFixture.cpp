// A package built for the tests, never shipped nor installed: sound, or hostile at one
// point of its life, as its mode says. The mode is a text in the library's data that
// the tests write into a copy of the file (tests/apps/hostile_packages.sh,
// tests/package/hostile_test.cpp), so that one library stands for every kind of hostile
// package and its copies differ in those bytes only.
//
// Modes: sound; start-crash, start-loop, start-exit (calls exit(0)), start-fork (leaves
// a process running, its number noted in the file QELL_FIXTURE_LOG names),
// second-load-crash; init-crash, init-loop, init-throw (an exception class of its own),
// init-42 (throws an int); register-crash, register-throw; finalize-crash,
// finalize-throw. With "host-" before init-…, register-… or finalize-… it misbehaves
// only outside the trial program, as a package that passes its trial and fails in the
// host.

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "platform/designide/EditorRegistry.h"
#include "platform/designide/PropertyDrawing.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Units.h"

#define FIXTURE_EXPORT(Name) __asm__(Name) __attribute__((visibility("default")))

// Volatile, so that every read comes from the bytes loaded, which the tests change.
extern "C" __attribute__((used)) const volatile char QellFixtureMode[48] = "QELL-FIXTURE-MODE:sound";

namespace {

std::string Mode()
{
    std::string M;
    for (size_t I = 18; I < sizeof QellFixtureMode && QellFixtureMode[I] != '\0'; ++I) M += QellFixtureMode[I];
    return M;
}

bool Is(const std::string& Name)
{
    const std::string M = Mode();
    return M == Name || (M == "host-" + Name && std::strcmp(program_invocation_short_name, "qell-package-trial") != 0);
}

// Its code lives in this library, as a package's own exception classes do.
class EFixtureError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

void Misbehave(const std::string& Step)
{
    if (Is(Step + "-crash")) raise(SIGSEGV);
    if (Is(Step + "-loop"))
        for (;;) pause();
    if (Is(Step + "-throw")) throw EFixtureError("the fixture's " + Step + " fails");
    if (Is(Step + "-42")) throw 42;
}

// Field 22 of /proc/PID/stat, the process's start time in clock ticks since boot; "?"
// when it cannot be read.
std::string StartTime(pid_t Pid)
{
    std::string Stat;
    if (std::FILE* F = std::fopen(("/proc/" + std::to_string(Pid) + "/stat").c_str(), "r")) {
        char Buffer[1024];
        Stat.assign(Buffer, std::fread(Buffer, 1, sizeof Buffer, F));
        std::fclose(F);
    }
    // The fields after the name, which may hold spaces, start with the state (field 3).
    size_t At = Stat.rfind(')');
    for (int Field = 2; At != std::string::npos && Field < 22; ++Field) At = Stat.find(' ', At + 1);
    if (At == std::string::npos) return "?";
    return Stat.substr(At + 1, Stat.find(' ', At + 1) - At - 1);
}

void StartUp()
{
    if (Is("start-crash")) raise(SIGSEGV);
    if (Is("start-loop"))
        for (;;) pause();
    if (Is("start-exit")) std::exit(0);
    if (Is("second-load-crash")) {
        if (std::getenv("QELL_FIXTURE_LOADED")) raise(SIGSEGV);
        setenv("QELL_FIXTURE_LOADED", "1", 1);
    }
    if (Is("start-fork")) {
        const pid_t Child = fork();
        if (Child == 0)
            for (;;) pause();
        // The parent notes the number, with the child's start time so that a number used
        // again later is not taken for it: the host may end the child before it runs.
        if (const char* Log = std::getenv("QELL_FIXTURE_LOG"); Log && Child > 0)
            if (std::FILE* F = std::fopen(Log, "a")) {
                std::fprintf(F, "%d %s\n", static_cast<int>(Child), StartTime(Child).c_str());
                std::fclose(F);
            }
    }
}

TLibModule Record;

// The library's entry point: its start-up, then its module record, taken back at unload.
struct TEntryPoint {
    TEntryPoint()
    {
        StartUp();
        Record.Instance = HInstance();
        Record.PackageName = "QellHostileFixture.bpl";
        RegisterModule(Record);
    }
    ~TEntryPoint() { UnregisterModule(Record); }
} const EntryPoint;

} // namespace

extern "C" {

// As the colour package has it, so that `package check` checks it the same way.
TStringList* CustomColorsList FIXTURE_EXPORT("IWKAVMOBILEDsnColor.CustomColorsList") = nullptr;

void Initialize() FIXTURE_EXPORT("Initialize");
void Initialize()
{
    Misbehave("init");
    CustomColorsList = new TStringList;
}

void Finalize() FIXTURE_EXPORT("Finalize");
void Finalize()
{
    delete CustomColorsList;
    CustomColorsList = nullptr;
    Misbehave("finalize");
}

// One registration of its own, made before it misbehaves, for the host to take back.
void Register() FIXTURE_EXPORT("IWQellRegDE.Register");
void Register()
{
    RegisterPropertyEditor(&TypeInfoBoolean, nullptr, "QellFixture", TColorProperty::EditorClass());
    Misbehave("register");
}

} // extern "C"
