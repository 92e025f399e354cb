#include "resource/resource_sound.h"

#include "core/zot_file.h"
#include "core/zot_main.h"
#include "sound/sound_main.h"

namespace {

constexpr const char* kDefaultName = "RESOURCE SOUND";
constexpr const char* kKindName = "Sound";

}  // namespace

ZRSound::ZRSound(const std::string& fileName, ZOTOwner* owner) : ZOTResource(owner, kDefaultName, "ZRSound")
{
    if (!fileName.empty())
        LoadFromFile(fileName);
    Reset();
}

ZRSound::~ZRSound()
{
    ZRSound::Unload();
    if (CurrentSound)
        CurrentSound->ForgetSound(this);
}

void ZRSound::LoadFromFile(const std::string& fileName)
{
    Unload();
    NameAfterFile(fileName, kDefaultName, false);
    if (!CurrentEngine || !CurrentEngine->FileSystem)
        return;
    const ZOTFileSystem& files = *CurrentEngine->FileSystem;
    std::string path = files.MakePath(fileName, "wav");
    if (!files.Exists(path, false)) {
        path = files.MakePath(fileName, "mp3");
        if (!files.Exists(path, true))
            return;
    }
    LogResource("Creating", kKindName);
    Sample = CurrentSound ? CurrentSound->LoadSample(path) : 0;
    Empty = Sample == 0;
}

void ZRSound::Unload()
{
    if (Empty)
        return;
    if (Name != kDefaultName)
        LogResource("Deleting", kKindName);
    if (CurrentSound)
        CurrentSound->FreeSample(Sample);
    Sample = 0;
    Empty = true;
}

bool ZRSound::Play() { return !Empty && CurrentSound && CurrentSound->PlaySample(Sample); }

int32_t ZRSound::PlayingCount() const { return Empty || !CurrentSound ? 0 : CurrentSound->PlayingCount(Sample); }
