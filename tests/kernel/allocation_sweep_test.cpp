// The allocation sweep: every exported operation that allocates is run once
// to count its allocations, then once more for each of them with exactly that
// one failing (the 1st, the 2nd, ... the Nth). Each run must end without a
// crash, leave no block behind, and either raise the documented report (an
// error of severity 400, "Memory allocation failed", with one of the
// operation's reasons) or, where the operation documents a silent failure,
// return its failure result. A last run fails the C++ heap for the whole call:
// no exception may come out of the C interface.
//
// kOperations is the table: one line per operation and its arguments. The
// exports that allocate nothing are named in kAllocatesNothing, so that a new
// export has to be placed in one list or the other.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "image/images.h"
#include "image/registry.h"
#include "library.h"
#include "operator_new_failure.h"
#include "pixbase/pixbase.h"
#include "raise_recorder.h"
#include "services/test_hooks.h"
#include "temp_files.h"

#if defined(__SANITIZE_ADDRESS__)
#define SWEEP_LEAK_CHECK 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SWEEP_LEAK_CHECK 1
#endif
#endif
#ifdef SWEEP_LEAK_CHECK
#include <sanitizer/lsan_interface.h>
#endif

namespace {

using lumaview::testing::Raise;
using lumaview::testing::RecordedRaises;

// What an operation's result says.
enum class Outcome { Done, Failed };
// Whether a failed allocation may go unreported, the result showing failure.
enum class Silent { Never, WithFailedResult };

// What every run starts from (made before the call, released after it):
// an image with a comment, a file, a text and a block in holders, two
// registered formats, the test modules' directory as module directory.
struct World {
  ImageRecord* image = nullptr;
  std::string file;      // a small GIF-like file
  std::string modules;   // bin/modules
  char* text = nullptr;  // "abc"
  void* block = nullptr;
  uint32_t pixels[4] = {0x00808080u, 0x7F808080u, 0x00FF80FFu, 0u};
  // The first fault a call found in the state it left; a fixed text, so that
  // noting it allocates nothing.
  const char* problem = nullptr;
  void Check(bool good, const char* what) {
    if (!good && problem == nullptr) problem = what;
  }
};

struct Operation {
  const char* name;  // the export, and after '_' what distinguishes the line
  std::vector<std::string> reasons;
  Silent silent;
  void (*prepare)(World&);  // more of the world for this call, or null
  Outcome (*call)(World&);
};

Outcome Done(bool done) { return done ? Outcome::Done : Outcome::Failed; }
Outcome Released(void* block) {
  bool done = block != nullptr;
  ReleasePointer(block);
  return Done(done);
}
Outcome ReleasedList(char** list) {
  if (list == nullptr) return Outcome::Failed;
  for (char** entry = list; *entry != nullptr; ++entry) ReleaseMemory(entry);
  ReleaseMemory(&list);
  return Outcome::Done;
}

const char kString[] = "Unable to allocate string";
// Longer than the room a new text has for growing in place.
const char kLongText[] =
    "0123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123"
    "4567890123456789012345678901234567890123456789012345678901234567890123456789012345678901234567"
    "8901234567890123456789012345678901234567890123456789012345678901234567890123456789";
const char kImage[] = "Unable to allocate image";

int32_t PIXBASE_CALL AcceptsGif(const unsigned char* header, uint32_t) {
  return std::memcmp(header, "GIF8", 4) == 0;
}

void LoadEveryModule(World&) { LoadAllCoderModules(); }
void SearchTheModules(World& w) { SetLibrarySearchPath(w.modules.c_str()); }
void LoadNoUnregister(World&) { LoadCoderModule("NOUNREG"); }
void RecordAWarning(World& w) {
  pixbase::RecordImageException(w.image, ModuleWarning, "Unable to read", "short file");
}

// clang-format off
const Operation kOperations[] = {
    {"AllocateMemory", {}, Silent::WithFailedResult, nullptr, [](World&) { return Released(AllocateMemory(64)); }},
    {"AllocateBlock", {}, Silent::WithFailedResult, nullptr, [](World&) { void* b = AllocateBlock(64); bool done = b != nullptr; ReleaseBlock(b); return Done(done); }},
    {"ResizeMemory", {}, Silent::WithFailedResult, nullptr, [](World& w) { return Done(ResizeMemory(&w.block, 1u << 20) != nullptr); }},
    {"ResizeMemory_null", {}, Silent::WithFailedResult, nullptr, [](World&) { void* held = nullptr; ResizeMemory(&held, 64); return Released(held); }},
    {"ResizeBlock", {}, Silent::WithFailedResult, nullptr, [](World& w) { w.block = ResizeBlock(w.block, 1u << 20); return Done(w.block != nullptr); }},
    {"ResizeBlock_null", {}, Silent::WithFailedResult, nullptr, [](World&) { void* b = ResizeBlock(nullptr, 64); bool done = b != nullptr; ReleaseBlock(b); return Done(done); }},
    {"DuplicateString", {kString}, Silent::Never, nullptr, [](World&) { return Released(DuplicateString("abc")); }},
    {"AssignString", {kString}, Silent::Never, nullptr, [](World& w) { AssignString(&w.text, "xyz"); return Done(w.text != nullptr); }},
    {"AppendString", {"Unable to concatenate string"}, Silent::Never, nullptr, [](World& w) { AppendString(&w.text, kLongText); return Done(w.text != nullptr); }},
    {"ExtractBaseName", {kString}, Silent::Never, nullptr, [](World&) { return Released(ExtractBaseName("c:\\img\\photo.tar.gz")); }},
    {"WidenText", {"Unable to convert text to Unicode"}, Silent::Never, nullptr, [](World&) { size_t n = 0; return Released(WidenText("A\\0x263aB", &n)); }},
    {"SplitCommandLine", {"Unable to convert string to argv", kString}, Silent::Never, nullptr, [](World&) { int n = 0; return ReleasedList(SplitCommandLine("-size  \"a b\"  'x y'", &n)); }},
    {"SplitTextLines_plain", {"Unable to convert text to list"}, Silent::Never, nullptr, [](World&) { return ReleasedList(SplitTextLines("one\r\ntwo\nthree")); }},
    {"SplitTextLines_binary", {"Unable to convert text"}, Silent::Never, nullptr, [](World&) { return ReleasedList(SplitTextLines("\x01" "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghij\xFF")); }},
    {"GetSystemErrorText", {kString}, Silent::Never, nullptr, [](World&) { return Released(GetSystemErrorText()); }},
    {"ModuleErrorText", {kString}, Silent::Never, nullptr, [](World&) { return Released(ModuleErrorText()); }},
    {"TranslatePageGeometry", {"Unable to translate page geometry"}, Silent::Never, nullptr, [](World&) { return Released(TranslatePageGeometry("a4+10+10")); }},
    {"NewSemaphore", {"Unable to allocate semaphore_info info"}, Silent::Never, nullptr, [](World&) { SemaphoreRecord* s = NewSemaphore(); DeleteSemaphore(s); return Done(s != nullptr); }},
    {"AllocateImage", {kImage}, Silent::Never, nullptr, [](World&) { ImageRecord* i = AllocateImage(); if (i != nullptr) DestroyImage(i); return Done(i != nullptr); }},
    {"AllocateNextImage", {kImage}, Silent::Never, nullptr, [](World& w) { AllocateNextImage(w.image); ImageRecord* next = w.image->next; if (next != nullptr) DestroyImage(next); return Done(next != nullptr); }},
    {"CollectImageExceptions", {kString}, Silent::Never, RecordAWarning, [](World& w) { ExceptionReport r; InitExceptionReport(&r); CollectImageExceptions(w.image, &r); bool done = r.reason != nullptr && r.description != nullptr; DisposeExceptionReport(&r); return Done(done); }},
    {"ReportImageExceptions", {kString}, Silent::Never, RecordAWarning, [](World& w) { ReportImageExceptions(w.image); return Outcome::Done; }},
    {"AllocateFormatEntry", {kImage, kString}, Silent::Never, nullptr, [](World&) { FormatEntry* e = AllocateFormatEntry("PNG"); if (e != nullptr) ReleaseMemory(&e->name); return Released(e); }},
    {"RegisterFormatEntry", {}, Silent::Never, nullptr, [](World&) { RegisterFormatEntry(FirstFormatEntry()); return Done(FindFormatEntry("GIF") != nullptr); }},
    {"UnregisterFormatEntry", {}, Silent::Never, nullptr, [](World&) { return Done(UnregisterFormatEntry("dat") == 1); }},
    {"FindFormatEntry", {}, Silent::Never, nullptr, [](World&) { return Done(FindFormatEntry("gif") != nullptr); }},
    {"FindFormatEntry_empty", {kString}, Silent::Never, nullptr, [](World&) { DestroyFormatRegistry(); FindFormatEntry("GIF"); return Outcome::Done; }},
    {"InitializeModuleDirectories", {kString}, Silent::Never, nullptr, [](World&) { return Done(InitializeModuleDirectories() != nullptr); }},
    {"DetectImageFormat", {}, Silent::Never, nullptr, [](World& w) { char d[PIXBASE_TEXT_EXTENT] = {}; return Done(DetectImageFormat(w.file.c_str(), d) == 1 && std::strcmp(d, "GIF") == 0); }},
    {"DetectImageFormat_empty", {kString}, Silent::Never, nullptr, [](World& w) { DestroyFormatRegistry(); char d[PIXBASE_TEXT_EXTENT] = {}; return Done(DetectImageFormat(w.file.c_str(), d) == 0); }},
    {"MatchFormatByContent", {}, Silent::Never, nullptr, [](World&) { unsigned char h[PIXBASE_HEADER_PROBE_LENGTH] = {'G', 'I', 'F', '8'}; return Done(MatchFormatByContent("p", "", h) != nullptr); }},
    {"IdentifyFormatByContent", {}, Silent::Never, nullptr, [](World&) { unsigned char h[PIXBASE_HEADER_PROBE_LENGTH] = {'G', 'I', 'F', '8'}; char d[PIXBASE_TEXT_EXTENT] = {}; return Done(IdentifyFormatByContent("p", "", h, 4, d) == 1); }},
    {"ListCoderModules", {kString}, Silent::WithFailedResult, nullptr, [](World&) { return ReleasedList(ListCoderModules()); }},
    {"LoadCoderModule", {"Unable to get module name", "Unable to allocate module info", kString, kImage}, Silent::Never, nullptr, [](World&) { return Done(LoadCoderModule("TESTA") == 1); }},
    {"LoadAllCoderModules", {"Unable to get module name", "Unable to allocate module info", kString, kImage}, Silent::WithFailedResult, nullptr, [](World&) { return Done(LoadAllCoderModules() == 4); }},
    {"UnloadCoderModule", {kString}, Silent::Never, LoadNoUnregister, [](World&) { return Done(UnloadCoderModule("NOUNREG") == 1); }},
    {"UnloadAllCoderModules", {kString}, Silent::Never, LoadEveryModule, [](World&) { UnloadAllCoderModules(); return Done(FindModuleEntry(nullptr) == nullptr); }},
    {"AllocateModuleEntry", {"Unable to allocate module info", kString}, Silent::Never, nullptr, [](World&) { ModuleEntry* e = AllocateModuleEntry("JPEG"); if (e != nullptr) ReleaseMemory(&e->name); return Released(e); }},
    {"InsertModuleEntry", {}, Silent::Never, nullptr, [](World&) { return Done(InsertModuleEntry(nullptr) == nullptr); }},
    {"ModuleFileName", {"Unable to get module name"}, Silent::Never, nullptr, [](World&) { return Released(ModuleFileName("JPEG")); }},
    {"SetLibrarySearchPath", {kString}, Silent::Never, nullptr, [](World&) { SetLibrarySearchPath("c:\\a;d:\\b\\"); return Outcome::Done; }},
    {"LoadLibraryOnPath", {}, Silent::Never, SearchTheModules, [](World&) { void* h = LoadLibraryOnPath("VELOTESTA.dll"); bool done = h != nullptr; ReleaseLibrary(h); return Done(done); }},
    {"OpenModuleScan", {}, Silent::WithFailedResult, nullptr, [](World& w) { ModuleScan* s = OpenModuleScan(w.modules.c_str()); bool done = s != nullptr && NextModuleScanName(s) != nullptr; CloseModuleScan(s); return Done(done); }},
    {"SetImageAttribute", {kString}, Silent::WithFailedResult, nullptr, [](World& w) { bool done = SetImageAttribute(w.image, "Comment", "new") == 1; ImageAttribute* a = GetImageAttribute(w.image, "Comment"); w.Check(a != nullptr && std::strcmp(a->value, done ? "new" : "old") == 0, "the comment after SetImageAttribute"); return Done(done); }},
    {"SetImageAttribute_ownKey", {kString}, Silent::WithFailedResult, nullptr, [](World& w) { return Done(SetImageAttribute(w.image, GetImageAttribute(w.image, "Comment")->key, "new") == 1); }},
    {"SetImageAttribute_ordinary", {kString}, Silent::WithFailedResult, nullptr, [](World& w) { bool done = SetImageAttribute(w.image, "Author", "ann") == 1; w.Check((GetImageAttribute(w.image, "Author") != nullptr) == done, "Author after SetImageAttribute"); return Done(done); }},
    {"ParseImageAttribute", {"Unable to parse attribute", kString}, Silent::Never, nullptr, [](World& w) { ParseImageAttribute(w.image, "Label=Sunset"); return Done(GetImageAttribute(w.image, "Label") != nullptr); }},
    {"ConvertImageToRGB", {}, Silent::WithFailedResult, nullptr, [](World& w) { bool done = ConvertImageToRGB(w.image, ColorspaceYCbCr) == 1; w.Check(done || (w.image->report.severity == ModuleWarning && std::strcmp(w.image->report.reason, "Unable to transform colorspace") == 0), "the report of a transform without tables"); w.Check(done == (w.pixels[0] == 0x00817F81u), "the pixels after ConvertImageToRGB"); return Done(done); }},
    {"ConvertImageToRGB_cmyk", {}, Silent::Never, nullptr, [](World& w) { w.image->colorSpace = ColorspaceCMYK; return Done(ConvertImageToRGB(w.image, ColorspaceRGB) == 1); }},
    {"BuildResampleMap", {}, Silent::Never, nullptr, [](World&) { int32_t map[7]; BuildResampleMap(3, 7, map); return Done(map[6] == 2); }},
    {"SmoothPixelLine", {}, Silent::Never, nullptr, [](World&) { uint32_t line[12] = {0x00FFFFFFu}; SmoothPixelLine(line, 12); return Outcome::Done; }},
    {"ImportPixelSamples", {}, Silent::Never, nullptr, [](World& w) { const uint8_t samples[] = {1, 2, 3, 4, 5, 6}; return Done(ImportPixelSamples(2, 8, w.pixels, nullptr, SampleRGB, samples) == 1); }},
    {"MapFileView", {}, Silent::Never, nullptr, [](World& w) { FILE* f = OpenFileStream(w.file.c_str(), ReadModeText); void* v = MapFileView(nullptr, 8, 1, 0, GetStreamDescriptor(f), 0); bool done = v != reinterpret_cast<void*>(-1); if (done) UnmapFileView(v); CloseFileStream(f); return Done(done); }},
};
// clang-format on

// Exports that never allocate: they work on what the caller gives them, on
// fixed buffers of their own, or on the system alone.
const char* const kAllocatesNothing[] = {
    // Releasing, and the allocator's and runtime's forwarders.
    "ReleaseMemory",
    "ReleasePointer",
    "ReleaseBlock",
    "DoNothing",
    "ReturnZero",
    "OpenFileStream",
    "SeekFileStream",
    "TellFileStream",
    "ReadStreamChar",
    "GetStreamChar",
    "StreamHasError",
    "GetStreamDescriptor",
    "CloseFileStream",
    "FlushFileStream",
    "WriteStreamItems",
    "ReadStreamItems",
    "UnreadStreamChar",
    "PutStreamChar",
    "ReadStreamLine",
    "WriteStreamString",
    "OpenDescriptorStream",
    "GetDescriptorLength",
    "ScanFileStream",
    "PrintFileStream",
    "StreamAtEnd",
    "StatDescriptor",
    "StatPath",
    "CheckPathAccess",
    "WriteStreamChar",
    "SaveJumpContext",
    "JumpToContext",
    "SetDescriptorMode",
    // Reporting: the slots, the handlers and the process texts.
    "RaiseError",
    "RaiseWarning",
    "InstallErrorHandler",
    "InstallWarningHandler",
    "ShowErrorBox",
    "ShowWarningBox",
    "EndProcess",
    "UpdateClientName",
    "UpdateConfigurePath",
    "InitExceptionReport",
    "DisposeExceptionReport",
    // Texts in place or into the caller's buffer.
    "PrintToBuffer",
    "CompareNoCase",
    "CompareNoCaseCount",
    "LowerCaseText",
    "UpperCaseText",
    "CountTextLines",
    "TrimText",
    "SetFileExtension",
    // Platform services and semaphores.
    "IsWindows9xPlatform",
    "DriveExists",
    "UnmapFileView",
    "ReadSystemClock",
    "ReadProcessSeconds",
    "SpawnProcess",
    "RunCommand",
    "CreateTempName",
    "MakeTempName",
    "ReplaceWithTempName",
    "DeleteSemaphore",
    "LockSemaphore",
    "UnlockSemaphore",
    // Geometry.
    "ReadGeometry",
    // Images and their files: destruction, the record's fields, the streams.
    "DestroyImage",
    "DestroyImageList",
    "DestroyImageAttributes",
    "ClearQuad",
    "InitializePixel",
    "GetImageAttribute",
    "NextToken",
    "OpenImageFile",
    "CloseImageFile",
    "FlushImageFile",
    "ImageFileAtEnd",
    "IsFileReadable",
    "IsDirectoryPath",
    "ReadLittleEndianLong",
    "ReadLittleEndianShort",
    "WriteLittleEndianLong",
    "WriteLittleEndianShort",
    "ReverseLongBytes",
    "ReverseShortBytes",
    "ReadBigEndianLong",
    "ReadBigEndianShort",
    "WriteBigEndianLong",
    "WriteBigEndianShort",
    "ReadImageByte",
    "ReadImageBytes",
    "ReadCountedBytes",
    "SeekImageFile",
    "SkipCountedBytes",
    "GetImageFileSize",
    "TellImageFile",
    "WriteImageByte",
    "WriteImageBytes",
    // The registry's and the module list's walks and removals.
    "FirstFormatEntry",
    "DestroyFormatRegistry",
    "FindModuleEntry",
    "RemoveModuleEntry",
    "FreeModuleList",
    "FormatModuleSymbol",
    "ReleaseLibrary",
    "FindLibrarySymbol",
    "NextModuleScanName",
    "CloseModuleScan",
    // The progress monitor.
    "SetProgressMonitor",
    "ReportProgress",
};

// The export an operation line calls: its name up to the first '_'.
std::string ExportOf(const Operation& operation) {
  std::string name = operation.name;
  return name.substr(0, name.find('_'));
}

class AllocationSweep : public ::testing::TestWithParam<Operation> {
 protected:
  void SetUp() override {
    World w;
    Build(w);  // the registry's locks are made on first use: not part of any call
    Tear(w);
  }
  void TearDown() override { pixbase::testing::StopFailingAllocations(); }

  void Build(World& w) {
    w.modules = lumaview::testing::BesideBuiltLibrary("modules");
    w.file = lumaview::testing::WriteTempFile("pixbase_sweep.gif", "GIF89a and some more bytes");
    saved_configure_path_ = UpdateConfigurePath(nullptr);
    UpdateConfigurePath(w.modules.c_str());
    InitializeModuleDirectories();
    FormatEntry* gif = AllocateFormatEntry("GIF");
    gif->probeHeader = AcceptsGif;
    RegisterFormatEntry(gif);
    RegisterFormatEntry(AllocateFormatEntry("DAT"));
    w.image = AllocateImage();
    w.image->width = 2;
    w.image->height = 2;
    w.image->colorSpace = ColorspaceRGB;
    w.image->pixels = w.pixels;
    SetImageAttribute(w.image, "Comment", "old");
    w.text = DuplicateString("abc");
    w.block = AllocateMemory(16);
    if (GetParam().prepare != nullptr) GetParam().prepare(w);
  }

  void Tear(World& w) {
    pixbase::testing::StopFailingAllocations();
    UnloadAllCoderModules();
    FreeModuleList();
    SetLibrarySearchPath(nullptr);
    DestroyFormatRegistry();
    pixbase::ClearModuleDirectories();
    w.image->pixels = nullptr;
    DestroyImageList(w.image);
    ReleaseMemory(&w.text);
    ReleaseMemory(&w.block);
    UpdateConfigurePath(saved_configure_path_.c_str());
    std::remove(w.file.c_str());
  }

  // One run: the world, the call (with the `fail`th allocation failing when
  // fail >= 0), the world taken down again. Returns the call's outcome.
  struct Run {
    Outcome outcome = Outcome::Failed;
    bool escaped = false;
    int32_t attempts = 0;
    int32_t left_blocks = 0;
    const char* problem = nullptr;
    std::vector<Raise> raised;
  };
  Run Once(int32_t fail, bool fail_operator_new = false) {
    Run run;
    int32_t live = pixbase::testing::LiveBlocks();
    {
      RecordedRaises raises;
      World w;
      Build(w);
      raises.clear();
      if (fail >= 0)
        pixbase::testing::FailAllocationsAfter(fail, 1);
      else
        pixbase::testing::StopFailingAllocations();
      try {
        if (fail_operator_new) {
          lumaview::testing::OperatorNewFails exhausted;
          run.outcome = GetParam().call(w);
        } else {
          run.outcome = GetParam().call(w);
        }
      } catch (...) {
        run.escaped = true;
      }
      run.attempts = pixbase::testing::AllocationAttempts();
      pixbase::testing::StopFailingAllocations();
      run.problem = w.problem;
      run.raised = raises.all();
      Tear(w);
    }
    run.left_blocks = pixbase::testing::LiveBlocks() - live;
    return run;
  }

  std::string saved_configure_path_;
};

std::string Describe(const Raise& raise) {
  return std::string(raise.error ? "error " : "warning ") + std::to_string(raise.severity) + " '" +
         raise.reason + "' / '" + raise.description + "'";
}

bool Same(const Raise& a, const Raise& b) {
  return a.error == b.error && a.severity == b.severity && a.reason == b.reason;
}

TEST_P(AllocationSweep, EveryAllocationFailsInTurn) {
  const Operation& operation = GetParam();
  Once(-1);  // first uses inside the call (a lock, a loaded library) are had
  Run clean = Once(-1);
  ASSERT_FALSE(clean.escaped);
  ASSERT_EQ(clean.outcome, Outcome::Done) << "the call does not succeed as it stands";
  EXPECT_EQ(clean.problem, nullptr) << clean.problem;
  EXPECT_EQ(clean.left_blocks, 0) << "blocks left behind";
  for (const Raise& raise : clean.raised)
    EXPECT_FALSE(raise.error && raise.severity == 400) << Describe(raise);
  if (operation.reasons.empty() && operation.silent == Silent::Never) {
    EXPECT_EQ(clean.attempts, 0) << "allocates, but reports nothing and fails never";
  }

  for (int32_t fail = 0; fail < clean.attempts; ++fail) {
    SCOPED_TRACE("allocation " + std::to_string(fail + 1) + " of " +
                 std::to_string(clean.attempts) + " failing");
    Run run = Once(fail);
    EXPECT_FALSE(run.escaped) << "an exception left the C interface";
    EXPECT_EQ(run.left_blocks, 0) << "blocks left behind";
    EXPECT_EQ(run.problem, nullptr) << run.problem;
    int reported = 0;
    for (const Raise& raise : run.raised) {
      bool out_of_memory = raise.error && raise.severity == OutOfMemoryError &&
                           raise.description == "Memory allocation failed";
      if (out_of_memory) {
        ++reported;
        EXPECT_NE(std::find(operation.reasons.begin(), operation.reasons.end(), raise.reason),
                  operation.reasons.end())
            << "undocumented reason: " << Describe(raise);
        continue;
      }
      bool known = false;
      for (const Raise& usual : clean.raised) known = known || Same(raise, usual);
      EXPECT_TRUE(known) << "raised only when an allocation fails: " << Describe(raise);
    }
    EXPECT_LE(reported, 1) << "one failed allocation, more than one report";
    if (reported == 0) {
      EXPECT_EQ(operation.silent, Silent::WithFailedResult)
          << "a failed allocation went unreported";
      EXPECT_EQ(run.outcome, Outcome::Failed) << "unreported, and the result says success";
    }
  }

  Run exhausted = Once(-1, true);
  EXPECT_FALSE(exhausted.escaped) << "an exception left the C interface with the C++ heap failing";
  EXPECT_EQ(exhausted.left_blocks, 0) << "blocks left behind with the C++ heap failing";
#ifdef SWEEP_LEAK_CHECK
  EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0) << "memory of the C++ heap or the system leaked";
#endif
}

std::string LineName(const ::testing::TestParamInfo<Operation>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(Exported, AllocationSweep, ::testing::ValuesIn(kOperations), LineName);

// Every exported operation is either swept or named as allocating nothing,
// and no line names an operation that is not exported.
TEST(AllocationSweepTable, CoversEveryExportedOperation) {
  std::set<std::string> swept;
  for (const Operation& operation : kOperations) swept.insert(ExportOf(operation));
  std::set<std::string> exported;
  for (int ordinal = 1; ordinal <= 200; ++ordinal) {
    std::string name = lumaview::testing::ExportName(ordinal);
    if (!name.empty() && !lumaview::testing::ExportIsData(ordinal)) exported.insert(name);
  }
  std::set<std::string> nothing(std::begin(kAllocatesNothing), std::end(kAllocatesNothing));
  for (const std::string& name : exported)
    EXPECT_EQ(swept.count(name) + nothing.count(name), 1u) << name;
  for (const std::string& name : swept) EXPECT_EQ(exported.count(name), 1u) << name;
  for (const std::string& name : nothing) EXPECT_EQ(exported.count(name), 1u) << name;
}

}  // namespace
