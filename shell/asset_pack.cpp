#include "shell/asset_pack.h"

#include <windows.h>

#include "core/kl_core.h"
#include "core/win32/wide_text.h"
#include "shell/pack_format.h"

namespace {

const UINT kPackCodePage = 932;  // entry names are stored as code page 932 text

std::wstring TempFileNameW(const wchar_t* prefix) {
  wchar_t dir[MAX_PATH];
  const DWORD length = GetTempPathW(MAX_PATH, dir);
  if (length == 0 || length >= MAX_PATH) return std::wstring();
  wchar_t name[MAX_PATH];
  // Unique number 0: the system picks a free name and creates the file to claim it.
  if (GetTempFileNameW(dir, prefix, 0, name) == 0) return std::wstring();
  DeleteFileW(name);
  return name;
}

bool NameFromPack(const std::string& bytes, std::wstring* name) {
  const int length = MultiByteToWideChar(kPackCodePage, MB_ERR_INVALID_CHARS, bytes.data(),
                                         static_cast<int>(bytes.size()), nullptr, 0);
  if (length <= 0) return false;
  name->assign(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(kPackCodePage, MB_ERR_INVALID_CHARS, bytes.data(),
                      static_cast<int>(bytes.size()), &(*name)[0], length);
  return true;
}

bool WriteWholeFile(HANDLE file, const uint8_t* data, uint32_t size) {
  while (size > 0) {
    DWORD written = 0;
    if (!WriteFile(file, data, size, &written, nullptr) || written == 0) return false;
    data += written;
    size -= written;
  }
  return true;
}

void Trace(const char* what) { klTrace("CAssetPack: %s\n", what); }

}  // namespace

std::string CAssetPack::MakeTempFileName(const char* prefix) {
  return Utf8FromWide(TempFileNameW(WideFromUtf8(prefix).c_str()).c_str());
}

int CAssetPack::Extract(int resourceNumber) {
  Release();
  HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(resourceNumber), L"PACK_DATA");
  if (!resource) return 0;
  HGLOBAL loaded = LoadResource(nullptr, resource);
  if (!loaded) return 0;
  const void* data = LockResource(loaded);
  if (!data) return 0;
  return ExtractFrom(static_cast<const uint8_t*>(data), SizeofResource(nullptr, resource));
}

int CAssetPack::ExtractFrom(const uint8_t* data, size_t size) {
  Release();
  // The whole pack is checked before the first file is made, so a damaged pack
  // creates nothing.
  std::vector<PackEntry> parsed;
  const PackError error = ParsePack(data, size, &parsed);
  if (error != PackError::kNone) {
    Trace(PackErrorText(error));
    return 0;
  }
  std::vector<std::wstring> names(parsed.size());
  for (size_t i = 0; i < parsed.size(); ++i) {
    if (!NameFromPack(parsed[i].name, &names[i])) {
      Trace("entry name is not code page 932 text");
      return 0;
    }
  }

  // Each file is made and filled before the next name is asked for, so the next
  // temporary name cannot fall on it.
  for (size_t i = 0; i < parsed.size(); ++i) {
    AssetEntry entry;
    entry.name = names[i];
    entry.size = static_cast<int>(parsed[i].size);
    entry.widePath = TempFileNameW(L"mgr");
    if (entry.widePath.empty()) {
      Trace("no temporary file name");
      Release();
      return 0;
    }
    HANDLE file = CreateFileW(entry.widePath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      Trace("cannot create a temporary file");
      Release();
      return 0;
    }
    entry.path = Utf8FromWide(entry.widePath.c_str());
    entries.push_back(std::move(entry));  // from here on Release deletes the file
    const bool written = WriteWholeFile(file, data + parsed[i].offset, parsed[i].size);
    const bool closed = CloseHandle(file) != 0;
    if (!written || !closed) {
      Trace("cannot write a temporary file");
      Release();
      return 0;
    }
  }
  unpacked = 1;
  return 1;
}

void CAssetPack::Release() {
  for (const AssetEntry& entry : entries) DeleteFileW(entry.widePath.c_str());
  entries.clear();
  entries.shrink_to_fit();
  unpacked = 0;
}

const char* CAssetPack::FindPath(const char* fileName) const {
  if (!unpacked || !fileName) return nullptr;
  const std::wstring wanted = WideFromUtf8(fileName);
  for (const AssetEntry& entry : entries) {
    if (CompareStringOrdinal(entry.name.c_str(), static_cast<int>(entry.name.size()),
                             wanted.c_str(), static_cast<int>(wanted.size()),
                             TRUE) == CSTR_EQUAL) {
      return entry.path.c_str();
    }
  }
  return nullptr;
}
