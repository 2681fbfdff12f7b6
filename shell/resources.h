// Identifiers of the program's resources and commands.
#pragma once

constexpr unsigned IdsTitle = 1;         // "Numbrix"
constexpr unsigned IdsClassName = 3;     // "NUMBRIX"
constexpr unsigned IdsTools = 104;       // "Tools"
// What a screen reader calls the keys and the display: the keys other than digits, each operator
// key and its pending operation in OpCode order, the mode keys in RadixMode order.
constexpr unsigned IdsKeyPoint = 200;
constexpr unsigned IdsKeySign = 201;
constexpr unsigned IdsKeyEquals = 202;
constexpr unsigned IdsKeyClearAll = 203;
constexpr unsigned IdsKeyClearEntry = 204;
constexpr unsigned IdsKeyBackspace = 205;
constexpr unsigned IdsDisplayError = 206;
constexpr unsigned IdsFirstOperator = 210;   // plus, minus, times, divided by
constexpr unsigned IdsFirstPending = 220;    // plus pending, ...
constexpr unsigned IdsFirstMode = 230;       // hexadecimal, decimal, binary
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
