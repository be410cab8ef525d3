// The page side of the web backend: builds the window's elements, tells the
// program what the user does (one event at a time, in order, as a desktop
// window's message loop does), and shows its message boxes as modal dialogs.
var RavelonDom = (function () {
  'use strict';
  var root = null;
  var controls = [];
  var queue = Promise.resolve();
  var ended = false;

  // The CSS system colours standing for the system colour indexes a design names.
  // A window's border (10) is the grey of its face, as on the desktop; CSS's
  // own ActiveBorder is deprecated and a browser may paint it black.
  var systemColours = { 5: 'Canvas', 8: 'CanvasText', 10: 'ButtonFace', 13: 'Highlight', 15: 'ButtonFace',
                        18: 'ButtonText', 24: 'InfoBackground' };

  function colour(bgr) {
    return 'rgb(' + (bgr & 255) + ',' + ((bgr >> 8) & 255) + ',' + ((bgr >> 16) & 255) + ')';
  }

  // Copies a string into the program's memory; the caller frees it.
  function utf16(text) {
    var size = (text.length + 1) * 2;
    var at = _malloc(size);
    stringToUTF16(text, at, size);
    return at;
  }

  // Runs `name` after every event before it has been handled.
  function post(name, args, strings) {
    queue = queue.then(function () {
      if (ended) return undefined;
      var held = (strings || []).map(function (s) { return utf16(s); });
      var values = args.map(function (a) { return typeof a === 'number' ? a : held[a.string]; });
      var done = Module.ccall(name, null, values.map(function () { return 'number'; }), values, { async: true });
      return Promise.resolve(done).finally(function () { held.forEach(function (p) { _free(p); }); });
    }).catch(function (failure) { console.error(failure); });
  }

  // What an input event did, as the program counts it (see InputKind).
  function kindOf(inputType) {
    if (/^insert/.test(inputType)) return 0;
    if (/^delete.*Backward$/.test(inputType)) return 1;
    if (/^delete.*Forward$/.test(inputType)) return 2;
    return 3;
  }

  function listenToTextBox(id, box) {
    var before = null;
    box.addEventListener('beforeinput', function (e) {
      before = { start: box.selectionStart, end: box.selectionEnd };
      if (e.inputType === 'historyUndo' || e.inputType === 'historyRedo') {
        e.preventDefault();
        post('ravelon_undo', [id, e.inputType === 'historyRedo' ? 1 : 0]);
      }
    });
    box.addEventListener('input', function (e) {
      var was = before || { start: box.selectionStart, end: box.selectionEnd };
      before = null;
      post('ravelon_input', [id, { string: 0 }, box.value.length, was.start, was.end, kindOf(e.inputType || '')],
           [box.value]);
    });
    box.addEventListener('keydown', function (e) {
      var key = e.key.toLowerCase();
      if (!(e.ctrlKey || e.metaKey) || e.altKey || (key !== 'z' && key !== 'y')) return;
      e.preventDefault();
      post('ravelon_undo', [id, key === 'y' || e.shiftKey ? 1 : 0]);
    });
    // The clipboard carries the exact text, line breaks as they are.
    box.addEventListener('paste', function (e) {
      e.preventDefault();
      var text = e.clipboardData ? e.clipboardData.getData('text/plain') : '';
      if (text) post('ravelon_pasted', [id, { string: 0 }, text.length], [text]);
    });
    function copy(e, cut) {
      var at = Module._ravelon_selected_text(id);
      var text = UTF16ToString(at);
      _free(at);
      e.preventDefault();
      if (!text) return;
      e.clipboardData.setData('text/plain', text);
      if (cut) post('ravelon_pasted', [id, { string: 0 }, 0], ['']);
    }
    box.addEventListener('copy', function (e) { copy(e, false); });
    box.addEventListener('cut', function (e) { copy(e, true); });
  }

  // The message box's icon, drawn here: a box shows without fetching anything.
  function icon(warning) {
    var svg = 'http://www.w3.org/2000/svg';
    var drawing = document.createElementNS(svg, 'svg');
    drawing.setAttribute('viewBox', '0 0 32 32');
    drawing.setAttribute('aria-hidden', 'true');
    var shapes = warning
      ? [['path', { d: 'M16 2 31 29H1z', fill: '#fc0', stroke: '#000' }], ['path', { d: 'M14.5 10h3l-.6 11h-1.8zM14.5 23h3v3h-3z' }]]
      : [['circle', { cx: 16, cy: 16, r: 14.5, fill: '#fff', stroke: '#00f', 'stroke-width': 2 }],
         ['path', { d: 'M14 13h4v12h-4zM14 7h4v4h-4z', fill: '#00f' }]];
    shapes.forEach(function (shape) {
      var element = document.createElementNS(svg, shape[0]);
      Object.keys(shape[1]).forEach(function (name) { element.setAttribute(name, shape[1][name]); });
      drawing.appendChild(element);
    });
    return drawing;
  }

  function messageBox(text, title, warning) {
    return new Promise(function (resolve) {
      var returnTo = document.activeElement;
      var dialog = document.createElement('dialog');
      dialog.className = 'ravelon-message';
      dialog.setAttribute('role', 'alertdialog');
      var heading = document.createElement('h1');
      heading.id = 'ravelon-message-title';
      heading.textContent = title;
      var body = document.createElement('p');
      body.id = 'ravelon-message-text';
      body.className = warning ? 'ravelon-warning' : 'ravelon-information';
      body.append(icon(warning), document.createTextNode(text));
      var ok = document.createElement('button');
      ok.type = 'button';
      ok.textContent = 'OK';
      ok.addEventListener('click', function () { dialog.close(); });
      dialog.setAttribute('aria-labelledby', heading.id);
      dialog.setAttribute('aria-describedby', body.id);
      dialog.append(heading, body, ok);
      dialog.addEventListener('close', function () {
        dialog.remove();
        if (returnTo && returnTo.focus) returnTo.focus();
        resolve(1);
      });
      document.body.appendChild(dialog);
      dialog.showModal();
      ok.focus();
    });
  }

  return {
    form: function (caption, width, height, back) {
      document.title = caption;
      root = document.createElement('div');
      root.className = 'ravelon-window';
      root.style.width = width + 'px';
      root.style.height = height + 'px';
      root.style.backgroundColor = colour(back);
      (document.getElementById('ravelon') || document.body).appendChild(root);
    },
    label: function (id, text, names) {
      var label = document.createElement('label');
      label.textContent = text;
      if (names >= 0) label.htmlFor = 'ravelon-' + names;
      controls[id] = label;
      root.appendChild(label);
    },
    textBox: function (id, multiLine) {
      var box = document.createElement(multiLine ? 'textarea' : 'input');
      if (!multiLine) {
        box.type = 'text';
        box.inputMode = 'email';
      }
      box.spellcheck = false;
      box.setAttribute('autocomplete', 'off');
      box.setAttribute('autocapitalize', 'off');
      box.id = 'ravelon-' + id;
      listenToTextBox(id, box);
      controls[id] = box;
      root.appendChild(box);
    },
    button: function (id, text) {
      var button = document.createElement('button');
      button.type = 'button';
      button.textContent = text;
      button.id = 'ravelon-' + id;
      button.addEventListener('click', function () {
        performance.mark('ravelon-click');
        post('ravelon_clicked', [id]);
      });
      controls[id] = button;
      root.appendChild(button);
    },
    place: function (id, left, top, width, height, face, points, weight, centred, tabIndex) {
      var s = controls[id].style;
      s.left = left + 'px';
      s.top = top + 'px';
      s.width = width + 'px';
      s.height = height + 'px';
      s.fontFamily = '"' + face + '", "DejaVu Sans", sans-serif';
      s.fontSize = points + 'pt';
      s.fontWeight = String(weight);
      if (centred) s.textAlign = 'center';
      if (controls[id].tagName !== 'LABEL') controls[id].tabIndex = tabIndex + 1;
    },
    setColour: function (id, value, system) {
      controls[id].style.backgroundColor = system ? (systemColours[value] || 'Canvas') : colour(value);
    },
    setValue: function (id, text) {
      performance.mark('ravelon-text');  // for the benchmark: when a handler's text arrives
      controls[id].value = text;
    },
    setSelection: function (id, start, end) { controls[id].setSelectionRange(start, end); },
    selectionStart: function (id) { return controls[id].selectionStart; },
    selectionEnd: function (id) { return controls[id].selectionEnd; },
    setEnabled: function (id, enabled) { controls[id].disabled = !enabled; },
    focus: function (id) { controls[id].focus(); },
    writeClipboard: function (text) {
      if (navigator.clipboard) navigator.clipboard.writeText(text).catch(function () {});
    },
    readClipboard: function (id) {
      if (!navigator.clipboard) return;
      navigator.clipboard.readText().then(function (text) {
        if (text) post('ravelon_pasted', [id, { string: 0 }, text.length], [text]);
      }).catch(function () {});
    },
    messageBox: messageBox,
    ready: function () { performance.mark('ravelon-ready'); },
    // Settles once every event told so far has been handled.
    idle: function () { return queue; },
    // An installed app's window closes; a tab cannot be closed by its page,
    // which says instead that the program has ended.
    end: function () {
      ended = true;
      window.close();
      var page = document.getElementById('ravelon') || document.body;
      page.textContent = '';
      var said = document.createElement('p');
      said.className = 'ravelon-ended';
      said.textContent = 'Ravelon has ended.';
      var again = document.createElement('button');
      again.type = 'button';
      again.textContent = 'Start again';
      again.addEventListener('click', function () { location.reload(); });
      page.append(said, again);
      again.focus();
    }
  };
})();
