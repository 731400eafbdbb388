// The phone pages: sign-in, live results (server-sent events, asking now and then when a phone
// cannot keep a stream open) and the lookup. Text only ever goes in as textContent.
"use strict";

function $(id) { return document.getElementById(id); }

function show(answer, ok, text) {
  answer.className = "answer " + (ok ? "ok" : "no");
  answer.textContent = text;
}

// The personal link (/?c=CODE, the QR code on the invitation) carries the person's own code; the
// phone keeps it, so the lookup needs no typing either.
function linkCode() {
  var c = new URLSearchParams(location.search).get("c");
  if (c) {
    c = c.slice(0, 20);
    try { localStorage.setItem("kavrel.code", c); } catch (e) {}
    return c;
  }
  return "";
}

function keptCode() {
  try { return localStorage.getItem("kavrel.code") || ""; } catch (e) { return ""; }
}

function initialQuery() {
  var q = new URLSearchParams(location.search).get("q");
  return q ? q.slice(0, 20) : "";
}

// When the operator allows typed sign-in, the field takes an employee number or a name too.
function labelTyped(label) {
  fetch("/api/results", { cache: "no-store" })
    .then(function (r) { return r.json(); })
    .then(function (d) { if (d.typed) label.textContent = "签到码、工号或姓名"; })
    .catch(function () {});
}

function setUpSignin() {
  var form = $("form"), input = $("q"), answer = $("answer"), go = $("go");
  var code = linkCode();
  input.value = code || initialQuery();
  labelTyped($("label"));
  form.addEventListener("submit", function (e) {
    e.preventDefault();
    var q = input.value.trim();
    if (!q) return;
    go.disabled = true;
    show(answer, true, "正在签到…");
    fetch("/api/signin", {
      method: "POST",
      headers: { "Content-Type": "application/x-www-form-urlencoded" },
      body: (code && q === code ? "c=" : "q=") + encodeURIComponent(q)
    }).then(function (r) { return r.json(); })
      .then(function (a) { show(answer, a.ok, a.text); })
      .catch(function () { show(answer, false, "网络不通，请稍后再试。"); })
      .then(function () { go.disabled = false; });
  });
  // A personal link signs in with one tap on it.
  if (input.value) form.requestSubmit ? form.requestSubmit() : go.click();
}

function setUpLookup() {
  var form = $("form"), input = $("q"), answer = $("answer"), go = $("go"), proof = $("proof");
  input.value = linkCode() || initialQuery() || keptCode();
  labelTyped($("label"));
  form.addEventListener("submit", function (e) {
    e.preventDefault();
    var q = input.value.trim();
    if (!q) return;
    go.disabled = true;
    proof.hidden = true;
    if ($("proof-hint")) $("proof-hint").hidden = true;
    fetch("/api/lookup?q=" + encodeURIComponent(q))
      .then(function (r) { return r.json(); })
      .then(function (a) {
        show(answer, a.ok, a.text);
        if (a.proof) {
          proof.href = "/api/proof?q=" + encodeURIComponent(q);
          proof.hidden = false;
          if ($("proof-hint")) $("proof-hint").hidden = false;
        }
      })
      .catch(function () { show(answer, false, "网络不通，请稍后再试。"); })
      .then(function () { go.disabled = false; });
  });
  if (input.value) form.requestSubmit ? form.requestSubmit() : go.click();
}

var seen = {};

// The record's hashes this phone was shown, kept across reloads per seal: read out to the notary (or
// given to kavrel-verify --seen), they catch a record rewritten after the event.
function keepNotary(n) {
  var card = $("notary");
  if (!card || !n || !n.seal) return;
  var kept = {};
  try { kept = JSON.parse(localStorage.getItem("kavrel-notary") || "{}") || {}; } catch (e) { kept = {}; }
  var list = kept[n.seal] || [];
  if (n.last && list.indexOf(n.last) < 0) list.push(n.last);
  kept[n.seal] = list;
  try { localStorage.setItem("kavrel-notary", JSON.stringify(kept)); } catch (e) {}
  card.hidden = false;
  $("notary-seal").textContent = n.seal.substring(0, 16);
  $("notary-audience").textContent = n.audience || "未取";
  $("notary-last").textContent = (n.last || "").substring(0, 16) + (n.closed ? "（已结束）" : "");
  $("notary-count").textContent = String(list.length);
  var ol = $("notary-list");
  ol.textContent = "";
  for (var i = 0; i < list.length; i++) {
    var li = document.createElement("li");
    li.textContent = list[i].substring(0, 16);
    ol.appendChild(li);
  }
}

function render(data) {
  var box = $("awards");
  if (data.title) $("title").textContent = data.title;
  keepNotary(data.notary);
  var awards = data.awards || [];
  box.textContent = "";
  if (!awards.length) {
    var empty = document.createElement("div");
    empty.className = "empty";
    empty.textContent = "还没有开奖，请稍候";
    box.appendChild(empty);
    return;
  }
  var first = Object.keys(seen).length === 0;
  // The latest award first: that is what the room is looking at.
  for (var i = awards.length - 1; i >= 0; i--) {
    var a = awards[i];
    var card = document.createElement("section");
    card.className = "card award";
    var h = document.createElement("h2");
    h.textContent = a.award;
    card.appendChild(h);
    if (a.prize) {
      var p = document.createElement("div");
      p.className = "prize";
      p.textContent = a.prize;
      card.appendChild(p);
    }
    var ol = document.createElement("ol");
    for (var j = 0; j < a.winners.length; j++) {
      var li = document.createElement("li");
      li.textContent = a.winners[j];
      var key = i + "/" + j + "/" + a.winners[j];
      if (!first && !seen[key]) li.className = "new";
      seen[key] = true;
      ol.appendChild(li);
    }
    card.appendChild(ol);
    box.appendChild(card);
  }
}

function live(on) {
  var l = $("live");
  l.className = on ? "live" : "live off";
  l.textContent = on ? "● 实时更新中" : "○ 连接中断，正在重试…";
}

function poll() {
  fetch("/api/results", { cache: "no-store" })
    .then(function (r) { return r.json(); })
    .then(function (d) { render(d); live(true); })
    .catch(function () { live(false); })
    .then(function () { setTimeout(poll, 1000); });
}

function setUpResults() {
  if (!window.EventSource) { poll(); return; }
  var failures = 0;
  var source = new EventSource("/api/events");
  source.onopen = function () { failures = 0; live(true); };
  source.onmessage = function (e) { render(JSON.parse(e.data)); live(true); };
  source.onerror = function () {
    live(false);
    // A network that will not keep a stream open: ask every second instead.
    if (++failures >= 3) { source.close(); poll(); }
  };
}

document.addEventListener("DOMContentLoaded", function () {
  var page = document.body.getAttribute("data-page");
  if (page === "signin") setUpSignin();
  else if (page === "lookup") setUpLookup();
  else if (page === "results") setUpResults();
});
