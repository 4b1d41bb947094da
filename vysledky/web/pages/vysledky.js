'use strict';
// Both pages ask /data.json again every second. With the tag of what they show, the server
// answers 304 without a body until the results change, so waiting costs next to nothing.
// The run on the track comes pushed from /na-trati (Server-Sent Events) as it happens.
// Texts go in as text, never as markup.

const period = 1000;
const tabule = document.body.classList.contains('tabule');
const podium = 5; // teams of each category on the big screen, at most
const fewestRows = 3; // before the text shrinks
const scales = [1, 0.9, 0.8, 0.7, 0.6]; // of the rankings' text, before paging
const pageMillis = 8000;
const phoneWidth = 700; // CSS pixels: narrower than any television
let etag = null;
let board = { categories: [], page: 0 };

// The big screen on a phone would be unreadable: the phone page has the same results.
if (tabule && window.innerWidth < phoneWidth) {
  window.location.replace('/');
}

// "00:00:17:204" as "17,204", "00:01:05:300" as "1:05,300": the log's times, easier to read.
function shortTime(text) {
  const parts = /^(\d\d):(\d\d):(\d\d):(\d\d\d)$/.exec(text || '');
  if (!parts) return text;
  const [hours, minutes, seconds] = parts.slice(1, 4).map(Number);
  const fraction = ',' + parts[4];
  if (hours > 0) return hours + ':' + parts[2] + ':' + parts[3] + fraction;
  if (minutes > 0) return minutes + ':' + parts[3] + fraction;
  return seconds + fraction;
}

function cell(row, text, className) {
  const td = document.createElement('td');
  td.textContent = text;
  if (className) td.className = className;
  row.appendChild(td);
  return td;
}

function rankingSection(category, shownRows) {
  const section = document.createElement('section');
  const heading = document.createElement('h2');
  heading.textContent = category.nazev || 'Pořadí';
  section.appendChild(heading);
  const rows = shownRows ? category.poradi.slice(0, shownRows) : category.poradi;
  if (rows.length === 0) {
    const empty = document.createElement('p');
    empty.className = 'prazdne';
    empty.textContent = 'Zatím bez platného pokusu.';
    section.appendChild(empty);
    return section;
  }
  const table = document.createElement('table');
  table.className = 'poradi';
  const head = table.createTHead().insertRow();
  for (const title of ['místo', 'družstvo', 'výsledek']) {
    const th = document.createElement('th');
    th.textContent = title;
    head.appendChild(th);
  }
  const body = table.createTBody();
  for (const row of rows) {
    const tr = body.insertRow();
    cell(tr, row.misto ? row.misto + '.' : '', 'cislo');
    cell(tr, row.druzstvo);
    cell(tr, shortTime(row.vysledek), 'cas');
  }
  section.appendChild(table);
  return section;
}

function showAttempts(attempts) {
  const body = document.querySelector('#pokusy tbody');
  body.replaceChildren();
  for (const attempt of attempts) {
    const tr = body.insertRow();
    if (!attempt.platny) tr.classList.add('neplatny');
    // Saved without a name: it waits for the desk to assign it, and is not ranked until then.
    if (attempt.bezJmena) tr.classList.add('bezjmena');
    // Corrected by the desk: marked, the decision and its reason on hover.
    if (attempt.oprava) tr.title = attempt.oprava;
    cell(tr, attempt.pokus, 'cislo');
    const team = cell(tr, attempt.druzstvo);
    if (attempt.kategorie) {
      const category = document.createElement('span');
      category.className = 'kategorie';
      category.textContent = attempt.kategorie;
      team.appendChild(category);
    }
    cell(tr, shortTime(attempt.draha1), 'cas');
    cell(tr, shortTime(attempt.draha2), 'cas');
    cell(tr, shortTime(attempt.vysledek), 'cas');
    cell(tr, attempt.oprava ? attempt.stav + ' (opraveno)' : attempt.stav,
      attempt.oprava ? 'opraveno' : '');
  }
}

function showLatest(attempt) {
  const set = (id, text) => { document.getElementById(id).textContent = text || '–'; };
  set('posledni-druzstvo', attempt && (attempt.oprava ? attempt.druzstvo + ' ✎' : attempt.druzstvo));
  document.getElementById('posledni').title = (attempt && attempt.oprava) || '';
  set('posledni-draha1', attempt && shortTime(attempt.draha1));
  set('posledni-draha2', attempt && shortTime(attempt.draha2));
  set('posledni-vysledek', attempt && (attempt.platny ? shortTime(attempt.vysledek) : attempt.stav));
  // A state in words is longer than a time: smaller, so it stays on the screen.
  document.getElementById('posledni-vysledek').classList.toggle('slovy', !!attempt && !attempt.platny);
}

// The categories in pages of perPage, rows of each and the text scale: true if it all fits,
// and with wholeNames, if no name is cut short either.
function layBoard(categories, rows, scale, perPage, wholeNames) {
  const poradi = document.getElementById('poradi');
  const pages = Math.max(1, Math.ceil(categories.length / perPage));
  const page = board.page % pages;
  const shown = categories.slice(page * perPage, (page + 1) * perPage);
  poradi.style.setProperty('--sloupce', Math.max(1, Math.min(3, shown.length)));
  poradi.style.setProperty('--meritko', scale);
  poradi.replaceChildren(...shown.map((category) => rankingSection(category, rows)));
  document.getElementById('strana').textContent = pages > 1 ? (page + 1) + ' / ' + pages : '';
  const cut = (cell) => cell.scrollWidth > cell.clientWidth;
  return poradi.scrollHeight <= poradi.clientHeight && poradi.scrollWidth <= poradi.clientWidth &&
    !(wholeNames && [...poradi.querySelectorAll('td, h2')].some(cut));
}

// Fewer rows, then smaller text, with whole names if that can be, else with the longest names
// cut short; only when even that does not fit, the categories in turn.
function layBoardToFit() {
  const categories = board.categories;
  const all = categories.length;
  for (const wholeNames of [true, false]) {
    for (let rows = podium; rows >= fewestRows; --rows) {
      if (layBoard(categories, rows, scales[0], all, wholeNames)) return;
    }
    for (const scale of scales) {
      if (layBoard(categories, fewestRows, scale, all, wholeNames)) return;
    }
  }
  for (let perPage = all - 1; perPage > 1; --perPage) {
    if (layBoard(categories, fewestRows, scales[0], perPage, false)) return;
  }
  layBoard(categories, fewestRows, scales[scales.length - 1], 1, false);
}

function nextPage() {
  board.page += 1;
  layBoardToFit();
}

function show(data) {
  if (tabule) {
    board.categories = data.kategorie;
    layBoardToFit();
    showLatest(data.pokusy[0]);
  } else {
    document.getElementById('poradi').replaceChildren(
      ...data.kategorie.map((category) => rankingSection(category, 0)));
    showAttempts(data.pokusy);
  }
  document.getElementById('bezjmena').textContent = data.bezJmena;
  document.getElementById('stav').textContent =
    data.stav || (tabule ? '' : 'Pokusů: ' + data.pokusu + ' · obnovuje se samo');
}

async function poll() {
  try {
    const headers = etag ? { 'If-None-Match': etag } : {};
    const response = await fetch('/data.json', { headers, cache: 'no-store' });
    if (response.status === 200) {
      const data = await response.json();
      etag = response.headers.get('ETag');
      show(data);
    }
  } catch (error) {
    document.getElementById('bezjmena').textContent = data.bezJmena;
  document.getElementById('stav').textContent = 'Spojení se serverem přerušeno, zkouším znovu…';
    etag = null;
  }
  setTimeout(poll, period);
}

// 17239 ms as "17,23", as the stopwatches show it: cut, not rounded.
function hundredths(millis) {
  const two = (n) => String(n).padStart(2, '0');
  const hours = Math.floor(millis / 3600000);
  const minutes = Math.floor(millis / 60000) % 60;
  const seconds = Math.floor(millis / 1000) % 60;
  const fraction = ',' + two(Math.floor(millis % 1000 / 10));
  if (hours > 0) return hours + ':' + two(minutes) + ':' + two(seconds) + fraction;
  if (minutes > 0) return minutes + ':' + two(seconds) + fraction;
  return seconds + fraction;
}

// The panel „Na trati“. The server says how long the run had been running when it sent the
// event; from there the page runs the clock itself, so it ticks smoothly between events.
let live = { shown: false, running: false, sentMs: 0, receivedAt: 0 };

function tick() {
  if (!live.running) return;
  document.getElementById('nt-cas').textContent =
    hundredths(live.sentMs + performance.now() - live.receivedAt);
  requestAnimationFrame(tick);
}

function showLive(panel) {
  const was = live;
  live = { shown: !!panel.zobrazit, running: !!panel.bezi, sentMs: panel.ubehloMs || 0,
    receivedAt: performance.now() };
  document.getElementById('na-trati').hidden = !live.shown;
  // On the big screen the run takes the latest attempt's place; the rankings fit what is left.
  if (tabule && live.shown !== was.shown) {
    document.getElementById('posledni').hidden = live.shown;
    layBoardToFit();
  }
  if (!panel.zobrazit) return;
  const set = (id, text) => { document.getElementById(id).textContent = text || '–'; };
  set('nt-druzstvo', panel.druzstvo);
  set('nt-cas', panel.cas);
  set('nt-draha1', panel.draha1);
  set('nt-draha2', panel.draha2);
  document.getElementById('nt-konec').textContent = panel.konec;
  if (live.running && !was.running) requestAnimationFrame(tick);
}

function followLive() {
  const events = new EventSource('/na-trati');
  events.onmessage = (message) => showLive(JSON.parse(message.data));
  // The browser opens the stream again by itself; until then nothing is known of the run.
  events.onerror = () => showLive({ zobrazit: false });
}

poll();
followLive();
if (tabule) {
  setInterval(nextPage, pageMillis);
  window.addEventListener('resize', layBoardToFit);
}
