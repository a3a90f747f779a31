// The built Vorlanex_sound.gau as Windows loads it: a 32-bit DLL exporting
// exactly its two records, importing only system DLLs, carrying the gauge's
// bitmap.
#include <gtest/gtest.h>

#include "windows_headers.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <vector>

#include "support/built_files.h"

namespace vorlanex {
namespace {

class ModuleFile : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryA(test::modulePath().c_str());
    ASSERT_NE(module_, nullptr) << test::modulePath();
    base_ = reinterpret_cast<const BYTE*>(module_);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base_);
    headers_ = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base_ + dos->e_lfanew);
  }
  void TearDown() override { FreeLibrary(module_); }

  template <typename T>
  const T* directory(int index) const {
    const IMAGE_DATA_DIRECTORY& entry = headers_->OptionalHeader.DataDirectory[index];
    return entry.VirtualAddress == 0 ? nullptr
                                     : reinterpret_cast<const T*>(base_ + entry.VirtualAddress);
  }
  const char* text(DWORD rva) const { return reinterpret_cast<const char*>(base_ + rva); }

  HMODULE module_ = nullptr;
  const BYTE* base_ = nullptr;
  const IMAGE_NT_HEADERS32* headers_ = nullptr;
};

TEST_F(ModuleFile, IsA32BitDll) {
  EXPECT_EQ(headers_->FileHeader.Machine, IMAGE_FILE_MACHINE_I386);
  EXPECT_TRUE(headers_->FileHeader.Characteristics & IMAGE_FILE_DLL);
  EXPECT_EQ(headers_->OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR32_MAGIC);
}

TEST_F(ModuleFile, ExportsExactlyLinkageAndImportTable) {
  const auto* exports = directory<IMAGE_EXPORT_DIRECTORY>(IMAGE_DIRECTORY_ENTRY_EXPORT);
  ASSERT_NE(exports, nullptr);
  const auto* names = reinterpret_cast<const DWORD*>(base_ + exports->AddressOfNames);
  std::vector<std::string> exported;
  for (DWORD i = 0; i < exports->NumberOfNames; ++i) exported.push_back(text(names[i]));
  EXPECT_EQ(exported, (std::vector<std::string>{"ImportTable", "Linkage"}));
  EXPECT_EQ(exports->NumberOfFunctions, 2u);
  // Data exports: the addresses are the records themselves.
  EXPECT_EQ(*reinterpret_cast<const DWORD*>(GetProcAddress(module_, "Linkage")), 0x13u);
  EXPECT_EQ(*reinterpret_cast<const DWORD*>(GetProcAddress(module_, "ImportTable")), 0x0Fu);
}

TEST_F(ModuleFile, ImportsOnlySystemDlls) {
  const std::set<std::string> system = {"kernel32.dll", "msvcrt.dll", "user32.dll", "winmm.dll",
                                        "dsound.dll"};
  const auto* import = directory<IMAGE_IMPORT_DESCRIPTOR>(IMAGE_DIRECTORY_ENTRY_IMPORT);
  ASSERT_NE(import, nullptr);
  for (; import->Name != 0; ++import) {
    std::string name = text(import->Name);
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    EXPECT_TRUE(system.count(name)) << "imports " << name;
  }
}

TEST_F(ModuleFile, CarriesTheGaugesBlackBitmap) {
  HRSRC resource =
      FindResourceExA(module_, MAKEINTRESOURCEA(2) /* RT_BITMAP */, MAKEINTRESOURCEA(256),
                      MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
  ASSERT_NE(resource, nullptr);
  const DWORD size = SizeofResource(module_, resource);
  ASSERT_EQ(size, sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD) + 120);
  const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module_, resource)));
  ASSERT_NE(data, nullptr);

  const auto* info = reinterpret_cast<const BITMAPINFOHEADER*>(data);
  EXPECT_EQ(info->biWidth, 10);
  EXPECT_EQ(info->biHeight, 10);
  EXPECT_EQ(info->biPlanes, 1);
  EXPECT_EQ(info->biBitCount, 8);
  EXPECT_EQ(info->biCompression, static_cast<DWORD>(BI_RGB));
  EXPECT_EQ(info->biXPelsPerMeter, 7874);
  EXPECT_EQ(info->biYPelsPerMeter, 7874);

  const auto* palette = reinterpret_cast<const RGBQUAD*>(data + sizeof(BITMAPINFOHEADER));
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(palette[i].rgbRed, i);
    EXPECT_EQ(palette[i].rgbGreen, i);
    EXPECT_EQ(palette[i].rgbBlue, i);
  }
  const BYTE* pixels = reinterpret_cast<const BYTE*>(palette + 256);
  EXPECT_TRUE(std::all_of(pixels, pixels + 120, [](BYTE b) { return b == 0; }));
}

}  // namespace
}  // namespace vorlanex
