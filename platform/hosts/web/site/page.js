// The page around the calculator: it puts the program's files in place (the shipped skins and
// catalogues come packed in numbrix.data, loaded by files.js; the skins the user added, the
// settings from local storage and a skin given by ?skin= come from here), shows the device
// screen on the canvas at a whole scale, and turns pointer, keyboard and clipboard events into
// the events that the web host (web_host.cpp) takes one at a time.
'use strict';

var Module = (function () {
  const Width = 240, Height = 320;
  const ProgramFolder = '/numbrix';             // the program's folder: its skin folder and catalogues
  const SkinFolder = ProgramFolder + '/skin';
  const VisitFolder = '/visit';                 // a skin given by ?skin=, for this visit only
  const SettingsFile = '/settings/numbrix.reg';
  const SettingsKey = 'numbrix.settings';
  const Font = '"IPAPGothic", "IPAGothic", "Noto Sans CJK JP", "Noto Sans JP", "Hiragino Sans", ' +
               '"Yu Gothic UI", "Meiryo", sans-serif';
  // Event kinds, as web_host.cpp numbers them.
  const StylusDown = 1, StylusMove = 2, StylusUp = 3, KeyDown = 4, KeyUp = 5;
  const NoVirtualKey = 0xFF;

  const canvas = document.getElementById('screen');
  const screen = canvas.getContext('2d');
  const scratch = document.createElement('canvas').getContext('2d', { willReadFrequently: true });
  let running = false;

  // ---- What the web host calls ----

  const host = {
    events: [],
    wake: null,
    pastedText: null,
    copiedText: null,
    push(event) {
      host.events.push(event);
      const wake = host.wake;
      host.wake = null;
      if (wake) wake();
    },
    firstPaint: null,   // when the first face was painted (performance.now()), for the page's figures
    paint(image, x, y, w, h) {
      screen.putImageData(image, 0, 0, x, y, w, h);
      if (host.firstPaint === null) host.firstPaint = performance.now();
    },
    setTitle(title) { document.title = title || 'Numbrix'; },
    writeClipboard(text) {
      host.copiedText = text;
      if (navigator.clipboard && navigator.clipboard.writeText) navigator.clipboard.writeText(text).catch(() => {});
    },
    textWidth(text, size) {
      const key = size + ' ' + text;
      let width = widths.get(key);
      if (width === undefined) {
        useFont(size);
        widths.set(key, width = Math.ceil(scratch.measureText(text).width));
      }
      return width;
    },
    lineHeight(size) { const m = fontMetrics(size); return m.ascent + m.descent; },
    textCoverage(text, size, width, height) {
      const c = scratch.canvas;
      if (c.width < width || c.height < height) {   // a new size resets the canvas's font
        c.width = Math.max(c.width, width);
        c.height = Math.max(c.height, height);
        fontSize = 0;
      }
      scratch.clearRect(0, 0, width, height);
      useFont(size);
      scratch.fillStyle = '#fff';
      scratch.textBaseline = 'alphabetic';
      scratch.fillText(text, 0, fontMetrics(size).ascent);
      const rgba = scratch.getImageData(0, 0, width, height).data;
      const alpha = new Uint8Array(width * height);
      for (let i = 0; i < alpha.length; ++i) alpha[i] = rgba[i * 4 + 3];
      return alpha;
    },
    playSound,
    ended() {
      storeSettings();
      running = false;
      document.getElementById('ended').style.display = 'flex';
    },
  };

  // Setting the canvas's font is slow: it is set only when the size changes, and the widths of
  // texts (the menus and dialogs measure the same few again and again) are kept.
  const metrics = new Map();
  const widths = new Map();
  let fontSize = 0;
  function useFont(size) {
    if (size === fontSize) return;
    scratch.font = size + 'px ' + Font;
    fontSize = size;
  }
  function fontMetrics(size) {
    let m = metrics.get(size);
    if (!m) {
      useFont(size);
      const measured = scratch.measureText('Ag');
      m = { ascent: Math.ceil(measured.fontBoundingBoxAscent), descent: Math.ceil(measured.fontBoundingBoxDescent) };
      metrics.set(size, m);
    }
    return m;
  }

  // ---- The screen's size: the largest whole scale of device pixels that fits ----

  function fitScreen() {
    const stage = document.getElementById('stage');
    const ratio = window.devicePixelRatio || 1;
    const room = Math.min(stage.clientWidth * ratio / Width, stage.clientHeight * ratio / Height);
    const scale = room >= 1 ? Math.floor(room) : room;   // a fraction only where no whole scale fits
    canvas.style.width = (Width * scale / ratio) + 'px';
    canvas.style.height = (Height * scale / ratio) + 'px';
  }
  window.addEventListener('resize', fitScreen);
  fitScreen();

  // ---- Sound: Web Audio, let in by the first touch or key ----

  let audio = null;
  let playing = null;
  let waitingFor = null;
  const decoded = new Map();   // host path -> { stamp, buffer (null while decoding, false: unplayable) }

  function unlockAudio() {
    try {
      if (!audio) audio = new (window.AudioContext || window.webkitAudioContext)();
      if (audio.state === 'suspended') audio.resume().catch(() => {});
    } catch (e) {
      audio = null;
    }
  }

  function playSound(path) {
    if (playing) {
      try { playing.stop(); } catch (e) { /* already ended */ }
      playing = null;
    }
    waitingFor = null;
    if (!path || !audio) return;
    let stat;
    try { stat = FS.stat(path); } catch (e) { return; }
    const stamp = stat.size + ':' + stat.mtime.getTime();
    let entry = decoded.get(path);
    if (!entry || entry.stamp !== stamp) {
      entry = { stamp, buffer: null };
      decoded.set(path, entry);
      try {
        const bytes = FS.readFile(path);
        entry.decoding = audio.decodeAudioData(bytes.buffer.slice(bytes.byteOffset, bytes.byteOffset + bytes.length))
          .then(buffer => { entry.buffer = buffer; }, () => { entry.buffer = false; });
      } catch (e) {
        entry.buffer = false;
      }
    }
    const start = () => {
      if (!entry.buffer) return;
      try {
        const source = audio.createBufferSource();
        source.buffer = entry.buffer;
        source.connect(audio.destination);
        source.start();
        playing = source;
      } catch (e) { /* no sound */ }
    };
    if (entry.buffer !== null) return start();
    const token = waitingFor = {};
    entry.decoding.then(() => { if (waitingFor === token) start(); });
  }

  // ---- The stylus: one pointer at a time ----

  let stylus = null;   // the pointer that pressed, until it lifts

  function screenPoint(event) {
    const box = canvas.getBoundingClientRect();
    return { x: Math.floor((event.clientX - box.left) * Width / box.width),
             y: Math.floor((event.clientY - box.top) * Height / box.height) };
  }

  canvas.addEventListener('pointerdown', event => {
    event.preventDefault();
    canvas.focus({ preventScroll: true });
    unlockAudio();
    if (stylus !== null || !running) return;
    if (event.pointerType === 'mouse' && event.button !== 0) return;
    stylus = event.pointerId;
    try { canvas.setPointerCapture(event.pointerId); } catch (e) { /* a pointer the browser did not make */ }
    host.push(Object.assign({ kind: StylusDown }, screenPoint(event)));
  });
  canvas.addEventListener('pointermove', event => {
    if (event.pointerId !== stylus) return;
    host.push(Object.assign({ kind: StylusMove }, screenPoint(event)));
  });
  function lift(event) {
    if (event.pointerId !== stylus) return;
    stylus = null;
    host.push(Object.assign({ kind: StylusUp }, screenPoint(event)));
  }
  canvas.addEventListener('pointerup', lift);
  canvas.addEventListener('pointercancel', lift);
  for (const name of ['touchstart', 'touchmove', 'contextmenu', 'dblclick'])
    canvas.addEventListener(name, event => event.preventDefault(), { passive: false });

  // ---- The keyboard, as the desktop's keys ----

  const Keypad = { Numpad0: 0x60, Numpad1: 0x61, Numpad2: 0x62, Numpad3: 0x63, Numpad4: 0x64, Numpad5: 0x65,
                   Numpad6: 0x66, Numpad7: 0x67, Numpad8: 0x68, Numpad9: 0x69, NumpadMultiply: 0x6A,
                   NumpadAdd: 0x6B, NumpadSubtract: 0x6D, NumpadDecimal: 0x6E, NumpadDivide: 0x6F,
                   NumpadEnter: 0x0D };
  const Named = { Backspace: 0x08, Tab: 0x09, Enter: 0x0D, Escape: 0x1B, ' ': 0x20, PageUp: 0x21, PageDown: 0x22,
                  End: 0x23, Home: 0x24, ArrowLeft: 0x25, ArrowUp: 0x26, ArrowRight: 0x27, ArrowDown: 0x28,
                  Delete: 0x2E, '=': 0xBB, '+': 0xBB, '-': 0xBD, ',': 0xBC, '.': 0xBE, '/': 0xBF };
  const Modifiers = new Set(['Shift', 'Control', 'Alt', 'AltGraph', 'Meta', 'OS', 'CapsLock', 'NumLock',
                             'ScrollLock', 'Fn', 'Dead', 'Process', 'Unidentified']);
  const scanCodes = new Map();   // each physical key its own number, 1 to 255

  // The virtual key: keypad keys by place, letters as the layout types them, digits by place.
  function virtualKey(event) {
    if (event.code in Keypad) return Keypad[event.code];
    if (Modifiers.has(event.key)) return 0;
    const key = event.key;
    if (/^[a-zA-Z]$/.test(key)) return key.toUpperCase().charCodeAt(0);
    if (/^[0-9]$/.test(key)) return key.charCodeAt(0);
    const digit = /^Digit([0-9])$/.exec(event.code);
    if (digit) return 0x30 + Number(digit[1]);
    const f = /^F([0-9]{1,2})$/.exec(key);
    if (f && Number(f[1]) >= 1 && Number(f[1]) <= 12) return 0x6F + Number(f[1]);
    return key in Named ? Named[key] : NoVirtualKey;
  }

  function scanCode(event) {
    const name = event.code || event.key;
    if (!scanCodes.has(name)) scanCodes.set(name, scanCodes.size % 255 + 1);
    return scanCodes.get(name);
  }

  function keyEvent(kind, event, control) {
    const typed = kind === KeyDown && !control && [...event.key].length === 1 ? event.key : '';
    return { kind, vk: virtualKey(event), scan: scanCode(event), control, repeat: kind === KeyDown && event.repeat,
             text: typed };
  }

  // Keys with Ctrl (or the Mac's Command) are the browser's unless the calculator uses them;
  // every other key is the calculator's, but for F11 and F12, the browser's own.
  function calculatorsKey(event, control) {
    if (control) return /^[aA]$/.test(event.key);
    return event.key !== 'F11' && event.key !== 'F12';
  }

  let pasteKey = null;   // a Ctrl+V waiting for its paste event

  document.addEventListener('keydown', event => {
    unlockAudio();
    if (!running || event.isComposing || event.altKey) return;
    const control = event.ctrlKey || event.metaKey;
    if (virtualKey(event) === 0) return;
    if (control && /^[vV]$/.test(event.key)) {
      pasteKey = keyEvent(KeyDown, event, control);   // taken with the text of the paste event
      return;
    }
    if (control && /^[cC]$/.test(event.key)) host.copiedText = null;
    if (calculatorsKey(event, control)) event.preventDefault();
    host.push(keyEvent(KeyDown, event, control));
  });
  document.addEventListener('keyup', event => {
    if (!running || virtualKey(event) === 0) return;
    const control = event.ctrlKey || event.metaKey;
    if (pasteKey && pasteKey.scan === scanCode(event)) {
      host.pastedText = null;   // no paste event came: the clipboard holds no text
      host.push(pasteKey);
      pasteKey = null;
    }
    host.push(keyEvent(KeyUp, event, control));
  });
  document.addEventListener('paste', event => {
    if (!running) return;
    event.preventDefault();
    host.pastedText = event.clipboardData ? event.clipboardData.getData('text/plain') : null;
    if (pasteKey) host.push(pasteKey);
    pasteKey = null;
  });
  // The number that Ctrl+C copied goes into the copy event that the same keys start.
  document.addEventListener('copy', event => {
    if (!running || host.copiedText === null || !event.clipboardData) return;
    event.clipboardData.setData('text/plain', host.copiedText);
    event.preventDefault();
  });

  // ---- Settings: the settings file in local storage ----

  function storeSettings() {
    try {
      localStorage.setItem(SettingsKey, FS.readFile(SettingsFile, { encoding: 'utf8' }));
    } catch (e) { /* nothing saved yet, or no storage */ }
  }
  function saveSettings() {
    if (!running) return;
    Module._numbrix_save_settings();
    storeSettings();
  }
  document.addEventListener('visibilitychange', () => { if (document.visibilityState === 'hidden') saveSettings(); });
  window.addEventListener('pagehide', saveSettings);

  // ---- Files: the site's, the user's skins, a visiting skin ----

  function writeFile(path, bytes) {
    FS.mkdirTree(path.substring(0, path.lastIndexOf('/')));
    FS.writeFile(path, bytes);
  }

  async function fetchBytes(url) {
    const response = await fetch(url);
    if (!response.ok) throw new Error(url + ': ' + response.status);
    return new Uint8Array(await response.arrayBuffer());
  }

  // The skins the user added, kept in IndexedDB by their path in the skin folder.
  function openSkinStore() {
    return new Promise((resolve, reject) => {
      const request = indexedDB.open('numbrix', 1);
      request.onupgradeneeded = () => request.result.createObjectStore('skin');
      request.onsuccess = () => resolve(request.result);
      request.onerror = () => reject(request.error);
    });
  }
  // Opening IndexedDB takes a while on a fresh visit, so the page notes in local storage that it
  // stored skins there, and opens it at start only then.
  const SkinsStoredKey = 'numbrix.skins-stored';
  async function storedSkinFiles() {
    if (localStorage.getItem(SkinsStoredKey) === null) return [];
    try {
      const db = await openSkinStore();
      const store = db.transaction('skin').objectStore('skin');
      const [keys, values] = await Promise.all([store.getAllKeys(), store.getAll()].map(request =>
        new Promise((resolve, reject) => { request.onsuccess = () => resolve(request.result); request.onerror = reject; })));
      return keys.map((key, i) => [SkinFolder + '/' + key, values[i]]);
    } catch (e) {
      return [];
    }
  }
  async function storeSkinFiles(files) {
    const db = await openSkinStore();
    const transaction = db.transaction('skin', 'readwrite');
    for (const [path, bytes] of files) transaction.objectStore('skin').put(bytes, path);
    await new Promise((resolve, reject) => { transaction.oncomplete = resolve; transaction.onerror = reject; });
    localStorage.setItem(SkinsStoredKey, '1');
  }

  function skinFileText(bytes) {
    if (bytes[0] === 0xFF && bytes[1] === 0xFE) return new TextDecoder('utf-16le').decode(bytes);
    if (bytes[0] === 0xFE && bytes[1] === 0xFF) return new TextDecoder('utf-16be').decode(bytes);
    try { return new TextDecoder('utf-8', { fatal: true }).decode(bytes); } catch (e) { /* not UTF-8 */ }
    return new TextDecoder('shift_jis').decode(bytes);
  }

  // Every value of the skin file that may name a file: the page fetches what exists of them from
  // NAME/ beside the skin file, and the skin loader decides what the skin names.
  function namedFileCandidates(text) {
    const names = new Set();
    for (const line of text.split('\n')) {
      const equals = line.indexOf('=');
      if (equals < 0) continue;
      const value = line.substring(equals + 1).split('#')[0].replace(/[\s]+$/, '');
      if (value && value.includes('.') && !/^[\s\d,+-]*$/.test(value) && names.size < 32) names.add(value);
    }
    return [...names];
  }

  function skinName(fileName) {
    const dot = fileName.lastIndexOf('.');
    return dot > 0 ? fileName.substring(0, dot) : fileName;
  }

  // A skin given by ?skin=URL (a .skn on this site, as the desktop's --skin): the program is given
  // its device path whether it arrives or not, so that the loader reports what is wrong.
  const skinParameter = new URLSearchParams(location.search).get('skin');
  const skinAddress = skinParameter ? new URL(skinParameter, location.href) : null;
  const visitingFileName = skinAddress
    ? decodeURIComponent(skinAddress.pathname.substring(skinAddress.pathname.lastIndexOf('/') + 1)) || 'skin.skn' : null;

  // The visiting skin file and what exists of the files it may name in NAME/ beside it.
  async function visitingSkin() {
    const files = [];
    if (!skinAddress || skinAddress.origin !== location.origin) return files;
    let bytes;
    try { bytes = await fetchBytes(skinAddress); } catch (e) { return files; }
    const name = skinName(visitingFileName);
    files.push([VisitFolder + '/' + visitingFileName, bytes]);
    const folder = new URL(encodeURIComponent(name) + '/', skinAddress);
    await Promise.all(namedFileCandidates(skinFileText(bytes)).map(async value => {
      const relative = value.replace(/\\/g, '/');
      try {
        files.push([VisitFolder + '/' + name + '/' + relative,
                    await fetchBytes(new URL(relative.split('/').map(encodeURIComponent).join('/'), folder))]);
      } catch (e) { /* not there: the loader says so if the skin names it */ }
    }));
    return files;
  }

  // The languages of the texts, as LANG and LANGUAGE give them on the desktop: the browser's
  // languages in order, up to Japanese, the program's own; English last for a browser that asks
  // for neither (the program chooses the first that it has a catalogue of).
  function languages() {
    const wanted = [];
    for (const tag of navigator.languages || [navigator.language || 'en']) {
      if (tag.split('-')[0].toLowerCase() === 'ja') return wanted;
      wanted.push(tag.replace(/-/g, '_'));
    }
    return wanted.concat(['en']);
  }

  // The user's skins and a visiting skin are fetched while the program's script, .wasm and
  // packed files load; they are put in place once all of those are in, before the program runs.
  const prepared = Promise.all([storedSkinFiles(), visitingSkin()]).then(lists => [].concat(...lists));
  let preparedFiles = [];

  // The program keeps a text file's decoded text while the file's stamps say it is unchanged,
  // which it trusts only of files stamped before the current second: the files put in place
  // now are stamped two seconds back, so the first skin load reads each once.
  function stampBack(path) {
    const then = Date.now() - 2000;
    for (const name of FS.readdir(path)) {
      if (name === '.' || name === '..') continue;
      const child = path + '/' + name;
      if (FS.isDir(FS.stat(child).mode)) stampBack(child);
      else FS.utime(child, then, then);
    }
  }

  function install() {
    for (const [path, bytes] of preparedFiles) writeFile(path, bytes);
    for (const folder of [ProgramFolder, VisitFolder]) if (FS.analyzePath(folder).exists) stampBack(folder);
    const settings = localStorage.getItem(SettingsKey);
    if (settings !== null) writeFile(SettingsFile, settings);
  }

  // ---- Skins the user adds: dropped, or picked as files or a folder ----

  // Files by their path as picked: a .skn goes into the skin folder, every other file into the
  // folder of the skin whose name is one of its folders, or of the one skin picked with it.
  function placeSkinFiles(picked) {
    const skins = picked.filter(f => /\.skn$/i.test(f.path)).map(f => f.path.split('/').pop());
    const names = skins.map(skinName);
    const placed = [];
    for (const file of picked) {
      const parts = file.path.split('/').filter(p => p);
      const base = parts[parts.length - 1];
      if (/\.skn$/i.test(base)) {
        placed.push([base, file.bytes]);
        continue;
      }
      let at = -1;
      for (let i = parts.length - 2; i >= 0 && at < 0; --i) if (names.includes(parts[i])) at = i;
      if (at >= 0) placed.push([parts.slice(at).join('/'), file.bytes]);
      else if (names.length === 1) placed.push([names[0] + '/' + base, file.bytes]);
    }
    return placed;
  }

  async function addSkin(picked) {
    const placed = placeSkinFiles(picked);
    if (!placed.some(([path]) => /\.skn$/i.test(path))) return;
    for (const [path, bytes] of placed) writeFile(SkinFolder + '/' + path, bytes);
    try { await storeSkinFiles(placed); } catch (e) { /* kept for this visit only */ }
  }

  async function pickedFiles(fileList) {
    return Promise.all([...fileList].map(async file => ({ path: file.webkitRelativePath || file.name,
                                                         bytes: new Uint8Array(await file.arrayBuffer()) })));
  }

  async function droppedFiles(items) {
    const out = [];
    async function walk(entry) {
      if (entry.isFile) {
        const file = await new Promise((resolve, reject) => entry.file(resolve, reject));
        out.push({ path: entry.fullPath, bytes: new Uint8Array(await file.arrayBuffer()) });
      } else if (entry.isDirectory) {
        const reader = entry.createReader();
        for (;;) {
          const batch = await new Promise((resolve, reject) => reader.readEntries(resolve, reject));
          if (batch.length === 0) break;
          for (const child of batch) await walk(child);
        }
      }
    }
    const entries = [...items].map(item => item.webkitGetAsEntry && item.webkitGetAsEntry()).filter(e => e);
    for (const entry of entries) await walk(entry);
    return out;
  }

  // Dropped folders are walked; where the browser gives no entries, the dropped files alone.
  async function droppedSkin(transfer) {
    const files = await droppedFiles(transfer.items);
    return files.length > 0 ? files : pickedFiles(transfer.files);
  }

  for (const [button, input] of [['add-files', 'pick-files'], ['add-folder', 'pick-folder']]) {
    const picker = document.getElementById(input);
    document.getElementById(button).addEventListener('click', () => picker.click());
    picker.addEventListener('change', async () => {
      await addSkin(await pickedFiles(picker.files));
      picker.value = '';
    });
  }
  document.addEventListener('dragover', event => {
    event.preventDefault();
    document.body.classList.add('dropping');
  });
  document.addEventListener('dragleave', () => document.body.classList.remove('dropping'));
  document.addEventListener('drop', async event => {
    event.preventDefault();
    document.body.classList.remove('dropping');
    await addSkin(await droppedSkin(event.dataTransfer));
  });

  // ---- Offline: the service worker keeps the site ----

  if ('serviceWorker' in navigator) navigator.serviceWorker.register('sw.js').catch(() => {});

  return {
    numbrix: host,
    arguments: visitingFileName ? [VisitFolder + '/' + visitingFileName] : [],
    preRun: [module => {
      const wanted = languages();
      module.ENV.LANG = wanted.length > 0 ? wanted[0] + '.UTF-8' : 'C';
      module.ENV.LANGUAGE = wanted.join(':');
      module.ENV.NUMBRIX_REGISTRY = SettingsFile;
      module.addRunDependency('numbrix-files');
      prepared.then(files => { preparedFiles = files; }, error => console.error('numbrix:', error))
        .finally(() => module.removeRunDependency('numbrix-files'));
    }],
    // Called when every file is in and before the program's main.
    onRuntimeInitialized() {
      install();
      running = true;
    },
    print: text => console.log(text),
    printErr: text => console.error(text),
  };
})();
