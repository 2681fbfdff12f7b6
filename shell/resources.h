// Identifiers of the program's resources and commands.
#pragma once

constexpr unsigned IdsTitle = 1;         // "Numbrix"
constexpr unsigned IdsClassName = 3;     // "NUMBRIX"
constexpr unsigned IdsTools = 104;       // "Tools"
constexpr unsigned IdiIcon = 101;
constexpr unsigned IdiSkinBroken = 110;   // the title bar's mark while a watched skin does not load
constexpr unsigned IdrAccelerators = 3;
constexpr unsigned IdrMenu = 102;        // menu and menu-bar resource
constexpr unsigned IddAbout = 103;
constexpr unsigned IddSkin = 109;
constexpr unsigned IdbAbout = 107;
constexpr int IdcSkinList = 1001;

constexpr unsigned IdmTools = 40001;
constexpr unsigned IdmAbout = 40003;
constexpr unsigned IdmChooseSkin = 40004;
constexpr unsigned IdmSoundEffects = 40005;

struct ResourceTable;
extern const ResourceTable ProgramResources;
