#!/usr/bin/env node
// Writes the mainland exchanges' trading days, one yyyyMMdd per line, to standard output.
//
// A trading day is a Monday to Friday that is no official public holiday and no exchange
// closure. Weekend make-up working days are not trading days: the exchanges stay closed on
// weekends. Years whose holiday schedule is published come from the chinese-days package; later
// years are estimated by the rules below, with the lunar dates from lunar-javascript (checked
// against chinese-days' own lunar conversion).
'use strict';

const chineseDays = require('chinese-days');
const holidayData = require('chinese-days/dist/chinese-days.json');
const { Lunar, Solar } = require('lunar-javascript');

const FIRST_YEAR = 2005;
const LAST_YEAR = 2035;

// Weekdays on which the exchanges closed although the public-holiday schedule made them working
// days. Each entry was announced by the exchanges themselves.
// The two days before the 2005 and 2006 breaks: in those years the exchanges closed for the
// whole week of the Spring Festival, which matches their totals of 242 and 241 trading days.
const EXCHANGE_CLOSURES = {
  '2005-02-07': 'Spring Festival week',
  '2005-02-08': 'Spring Festival week',
  '2006-01-26': 'Spring Festival week',
  '2006-01-27': 'Spring Festival week',
  '2024-02-09': 'Spring Festival eve (the schedule only encouraged employers to give it off)',
};

const DAY_MS = 86400000;

function utc(y, m, d) {
  return new Date(Date.UTC(y, m - 1, d));
}
function addDays(date, n) {
  return new Date(date.getTime() + n * DAY_MS);
}
function iso(date) {
  return date.toISOString().slice(0, 10);
}
function isWeekday(date) {
  const wd = date.getUTCDay();
  return wd !== 0 && wd !== 6;
}
function fromSolar(solar) {
  return utc(solar.getYear(), solar.getMonth(), solar.getDay());
}
function range(first, last) {
  const out = [];
  for (let d = first; d <= last; d = addDays(d, 1)) out.push(d);
  return out;
}

// --- Published years --------------------------------------------------------------------------

// The last year whose schedule is complete: its holidays reach National Day.
function lastPublishedYear() {
  const years = new Set(Object.keys(holidayData.holidays).map((d) => Number(d.slice(0, 4))));
  let last = 0;
  for (const y of years) {
    const complete = Object.keys(holidayData.holidays).some((d) => d.startsWith(`${y}-10-0`));
    if (complete && y > last) last = y;
  }
  return last;
}

// --- Estimated years ----------------------------------------------------------------------------

function lunarToSolar(year, month, day) {
  const date = fromSolar(Lunar.fromYmd(year, month, day).getSolar());
  const check = chineseDays.getSolarDateFromLunar(
    `${year}-${String(month).padStart(2, '0')}-${String(day).padStart(2, '0')}`);
  if (check.date !== iso(date)) {
    throw new Error(`lunar ${year}-${month}-${day}: ${iso(date)} against ${check.date}`);
  }
  return date;
}

function qingming(year) {
  const date = fromSolar(Solar.fromYmd(year, 5, 1).getLunar().getJieQiTable()['清明']);
  const check = chineseDays.getSolarTermDate(year, 4, 'pure_brightness');
  if (check !== iso(date)) throw new Error(`Qingming ${year}: ${iso(date)} against ${check}`);
  return date;
}

// A one-day festival makes a three-day break with the weekend next to it: on a Tuesday the
// Monday before is bridged, on a Thursday the Friday after; on a weekend the Monday is given in
// lieu. The closed weekdays of that break.
function oneDayFestival(date) {
  switch (date.getUTCDay()) {
  case 2: return [addDays(date, -1), date];
  case 4: return [date, addDays(date, 1)];
  case 6: return [addDays(date, 2)];
  case 0: return [addDays(date, 1)];
  default: return [date];
  }
}

// Spring Festival: New Year's Eve to the seventh day of the first lunar month.
function springFestival(year) {
  const first = lunarToSolar(year, 1, 1);
  return range(addDays(first, -1), addDays(first, 6));
}

// Labour Day: five days from 1 May, moved to start on the Saturday before when 1 May is a
// Sunday or Monday.
function labourDay(year) {
  const may1 = utc(year, 5, 1);
  const back = { 0: 1, 1: 2 }[may1.getUTCDay()] || 0;
  return range(addDays(may1, -back), addDays(may1, 4 - back));
}

// National Day: 1 to 7 October; a Mid-Autumn Festival between 28 September and 8 October joins
// it into one break of 1 to 8 October (or from the festival when it comes first).
function nationalDayAndMidAutumn(year) {
  const midAutumn = lunarToSolar(year, 8, 15);
  const oct1 = utc(year, 10, 1);
  if (midAutumn >= utc(year, 9, 28) && midAutumn <= utc(year, 10, 8)) {
    return range(midAutumn < oct1 ? midAutumn : oct1, utc(year, 10, 8));
  }
  return range(oct1, utc(year, 10, 7)).concat(oneDayFestival(midAutumn));
}

function estimatedClosures(year) {
  return [
    ...oneDayFestival(utc(year, 1, 1)),
    ...springFestival(year),
    ...oneDayFestival(qingming(year)),
    ...labourDay(year),
    ...oneDayFestival(lunarToSolar(year, 5, 5)),
    ...nationalDayAndMidAutumn(year),
  ].map(iso);
}

// --- The calendar -------------------------------------------------------------------------------

function closedDays(lastPublished) {
  const closed = new Set(Object.keys(holidayData.holidays)
    .filter((d) => Number(d.slice(0, 4)) <= lastPublished));
  for (let y = lastPublished + 1; y <= LAST_YEAR; ++y) {
    for (const d of estimatedClosures(y)) {
      // An estimated break may reach back into a published year (31 December bridged to a
      // Tuesday New Year's Day); the published schedule has the last word there.
      if (Number(d.slice(0, 4)) > lastPublished) closed.add(d);
    }
  }
  for (const [d, why] of Object.entries(EXCHANGE_CLOSURES)) {
    if (!isWeekday(new Date(d)) || closed.has(d)) {
      throw new Error(`exchange closure ${d} (${why}) is no extra weekday`);
    }
    closed.add(d);
  }
  return closed;
}

function main() {
  const lastPublished = lastPublishedYear();
  if (lastPublished < FIRST_YEAR) throw new Error('no published holiday schedule found');
  const closed = closedDays(lastPublished);
  const lines = [
    'iDate',
    '# Mainland exchange trading days: Monday to Friday less official holidays and exchange closures.',
    `# Published schedules up to ${lastPublished}; dates from ${lastPublished + 1} on are estimated.`,
  ];
  for (const d of range(utc(FIRST_YEAR, 1, 1), utc(LAST_YEAR, 12, 31))) {
    if (isWeekday(d) && !closed.has(iso(d))) lines.push(iso(d).replace(/-/g, ''));
  }
  process.stdout.write(lines.join('\n') + '\n');
}

main();
