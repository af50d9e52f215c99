#include <gtest/gtest.h>

#include <filesystem>

#include "app/DocumentNames.h"
#include "support/TestSupport.h"

namespace glanex::test {
namespace {

TEST(FilterChoices, SplitsTheDialogsFiltersAndLetAllFilesMatchNamesWithoutADot) {
  EXPECT_EQ(filterChoices(kOpenDialogFilter),
            (std::vector<FilterChoice>{{"Tous les fichiers (*.*)", {"*"}},
                                       {"Fichiers RTF (*.rtf)", {"*.rtf"}},
                                       {"Fichiers textes (*.txt)", {"*.txt"}}}));
  EXPECT_EQ(
      filterChoices(kSaveDialogFilter),
      (std::vector<FilterChoice>{{"Fichiers RTF (*.rtf)", {"*.rtf"}}, {"Tous les fichiers (*.*)", {"*"}}}));
  EXPECT_EQ(filterChoices("Textes|*.txt;*.*;*.text|Sans motif"),
            (std::vector<FilterChoice>{{"Textes", {"*.txt", "*", "*.text"}}}));
  EXPECT_TRUE(filterChoices("").empty());
}

class DialogPaths : public ::testing::Test {
 protected:
  void SetUp() override {
    writeBytes(dir.file("notes"), "n");
    writeBytes(dir.file("liste.txt"), "l");
    writeBytes(dir.file(".cache"), "c");
    std::filesystem::create_directory(dir.file("dossier.d"));
    std::filesystem::create_symlink(dir.file("absent"), dir.file("lien"));
  }

  ScratchDir dir;
};

TEST_F(DialogPaths, DefaultExtensionGoesOnlyOnNamesWithoutOneAndOnOpenOnlyWhenTheNameIsFree) {
  const struct {
    const char* typed;
    const char* opened;
    const char* saved;
  } rows[] = {
      {"nouveau", "nouveau.rtf", "nouveau.rtf"},
      {"notes", "notes", "notes.rtf"},
      {"liste.txt", "liste.txt", "liste.txt"},
      {"nouveau.txt", "nouveau.txt", "nouveau.txt"},
      {"nouveau.", "nouveau.", "nouveau."},
      {"archive.tar.gz", "archive.tar.gz", "archive.tar.gz"},
      // A dot in a folder's name or at the start of the file's name is no extension.
      {"dossier.d/nom", "dossier.d/nom.rtf", "dossier.d/nom.rtf"},
      {".cache", ".cache", ".cache.rtf"},
      {".profil", ".profil.rtf", ".profil.rtf"},
      // A link that leads nowhere still bears the name.
      {"lien", "lien", "lien.rtf"},
      {"адреса", "адреса.rtf", "адреса.rtf"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.typed);
    EXPECT_EQ(openDialogPath(dir.file(row.typed)), dir.file(row.opened));
    EXPECT_EQ(saveDialogPath(dir.file(row.typed)), dir.file(row.saved));
  }
}

TEST(DocumentTexts, CaptionFramesThePathAndTheQuestionNamesItsAbsoluteForm) {
  EXPECT_EQ(sourceCaption("C:\\data\\list.txt"), " Fichier source [ C:\\data\\list.txt ] ");
  EXPECT_EQ(sourceCaption("/tmp/адреса.txt"), " Fichier source [ /tmp/адреса.txt ] ");
  EXPECT_EQ(overwriteQuestion("/tmp/a/../résultat.rtf"),
            "Le fichier \"/tmp/a/../résultat.rtf\" existe déjà.\nVoulez-vous le remplacer ?");
  const std::string absolute = (std::filesystem::current_path() / "liste.rtf").string();
  EXPECT_EQ(overwriteQuestion("liste.rtf"),
            "Le fichier \"" + absolute + "\" existe déjà.\nVoulez-vous le remplacer ?");
}

}  // namespace
}  // namespace glanex::test
