// Writes every skin image of the table into the folder given on the command
// line (the programs' folder): "Skins\\x.bmp" becomes <folder>/Skins/x.bmp.
// Images and cursors named "res\\x" go to the resource folder, the second
// argument, where the resource script finds them.
#include "SkinCanvas.h"
#include "SkinNames.h"

#include <cstdio>
#include <set>
#include <string>
#include <sys/stat.h>

namespace {
std::string Lower(std::string s)
{
    for (auto& c : s)
        if (c >= 'A' && c <= 'Z')
            c = (char)(c - 'A' + 'a');
    return s;
}

// The file's path under root; the folder is always spelt "Skins" (the
// programs' lookups do not depend on case).
std::string OutputPath(const std::string& root, const std::string& name)
{
    std::string rel = name;
    for (auto& c : rel)
        if (c == '\\')
            c = '/';
    size_t slash = rel.find('/');
    if (slash != std::string::npos && Lower(rel.substr(0, slash)) == "skins")
        rel = "Skins" + rel.substr(slash);
    return root + "/" + rel;
}

// "res\\x" is a resource file: it goes to the resource folder as x.
bool IsResource(const std::string& name, std::string* file)
{
    if (name.size() < 5 || Lower(name.substr(0, 4)) != "res\\")
        return false;
    *file = name.substr(4);
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: skingen <output folder> <resource folder>\n");
        return 2;
    }
    const std::string root = argv[1];
    const std::string resources = argv[2];
    ::mkdir(root.c_str(), 0777);
    ::mkdir((root + "/Skins").c_str(), 0777);
    ::mkdir(resources.c_str(), 0777);
    auto pathOf = [&](const std::string& name) {
        std::string file;
        return IsResource(name, &file) ? resources + "/" + file : OutputPath(root, name);
    };

    std::set<std::string> seen;
    int failures = 0;
    for (const SkinImage& image : SkinImages::All()) {
        const std::string key = Lower(pathOf(image.name));
        if (!seen.insert(key).second) {
            std::fprintf(stderr, "skingen: %s is drawn twice\n", image.name.c_str());
            ++failures;
            continue;
        }
        if (image.width <= 0 || image.height <= 0) {
            std::fprintf(stderr, "skingen: %s has no size\n", image.name.c_str());
            ++failures;
            continue;
        }
        Canvas canvas(image.width, image.height);
        image.draw(canvas);
        if (!canvas.WriteBmp(pathOf(image.name))) {
            std::fprintf(stderr, "skingen: cannot write %s\n", pathOf(image.name).c_str());
            ++failures;
        }
    }
    for (const SkinCursor& cursor : SkinCursors::All()) {
        if (!seen.insert(Lower(pathOf(cursor.name))).second) {
            std::fprintf(stderr, "skingen: %s is drawn twice\n", cursor.name.c_str());
            ++failures;
            continue;
        }
        if (!WriteCursor(cursor, pathOf(cursor.name))) {
            std::fprintf(stderr, "skingen: cannot write cursor %s\n", pathOf(cursor.name).c_str());
            ++failures;
        }
    }
    for (const SkinIcon& icon : SkinIcons::All()) {
        if (!seen.insert(Lower(pathOf(icon.name))).second) {
            std::fprintf(stderr, "skingen: %s is drawn twice\n", icon.name.c_str());
            ++failures;
            continue;
        }
        Canvas canvas(icon.size, icon.size, kIconTransparent);
        icon.draw(canvas);
        if (!WriteIcon(canvas, pathOf(icon.name))) {
            std::fprintf(stderr, "skingen: cannot write icon %s\n", pathOf(icon.name).c_str());
            ++failures;
        }
    }
    for (const char* name : g_SkinNames) {
        if (!seen.count(Lower(OutputPath(root, name)))) {
            std::fprintf(stderr, "skingen: no drawing for %s\n", name);
            ++failures;
        }
    }
    return failures ? 1 : 0;
}
