#!/usr/bin/env python3
"""Writes presets/Factory.xml, the factory bank, from the sounds listed below.

The XML is what the build reads and what ships; this script is the sound designer's
shorthand for writing it. Each sound is written in the units a musician thinks in
(seconds, Hz, semitones, cents) and converted into the stored values the engine reads.
Edit a sound here and run the script, or edit presets/Factory.xml by hand: both are fine,
but a hand edit is lost when the script runs again.

Every program keeps a fixed identifier, made from its name, so that a user's database can
tell which factory programs it holds. Renaming a sound makes it a new factory program.

    python3 presets/make-factory.py            # writes presets/Factory.xml
"""

import os
import uuid

# The parameters in the order the database writes them, with their defaults.
PARAMETERS = [
    ("Osc1Active", 1), ("Osc1WaveType", 0), ("Osc1Gain", 0.5), ("Osc1Detune", 0.5), ("Osc1Pan", 0.5),
    ("Osc1Offset", 0.12), ("Osc1PitchRange", 0.02), ("Osc1PitchEnvRange", 0.01), ("Osc1PitchEnvDown", 0),
    ("Osc2Active", 0), ("Osc2WaveType", 0), ("Osc2Gain", 0.5), ("Osc2Detune", 0.5), ("Osc2Pan", 0.5),
    ("Osc2Offset", 0.12), ("Osc2PitchRange", 0.02), ("Osc2PitchEnvRange", 0.01), ("Osc2PitchEnvDown", 0),
    ("Filter1Active", 0), ("Filter1Type", 0), ("Filter1Cutoff", 0.3), ("Filter1Resonance", 0),
    ("Lfo1Active", 0), ("Lfo1WaveType", 0), ("Lfo1Speed", 0.5), ("Lfo1Mode", 0), ("Lfo1Sync", 0),
    ("Lfo1Target", 0), ("Lfo1Mix", 1),
    ("Delay1Active", 0), ("Delay1Sync", 1), ("Delay1Mix", 0.5), ("Delay1Time", 0.5), ("Delay1Feedback", 0.5),
    ("Delay1Swing", 0),
    ("Reverb1Active", 0), ("Reverb1Mix", 0.5), ("Reverb1Damping", 0.5), ("Reverb1Feedback", 0.5),
    ("EnvAmpOsc1Attack", 0.1), ("EnvAmpOsc1Decay", 0.5), ("EnvAmpOsc1Sustain", 0.5), ("EnvAmpOsc1Release", 0.5),
    ("EnvAmpOsc2Attack", 0.1), ("EnvAmpOsc2Decay", 0.5), ("EnvAmpOsc2Sustain", 0.5), ("EnvAmpOsc2Release", 0.5),
    ("EnvPitchOsc1Active", 0), ("EnvPitchOsc1Attack", 0.5), ("EnvPitchOsc1Decay", 0.5),
    ("EnvPitchOsc1Sustain", 1), ("EnvPitchOsc1Release", 0),
    ("EnvPitchOsc2Active", 0), ("EnvPitchOsc2Attack", 0.5), ("EnvPitchOsc2Decay", 0.5),
    ("EnvPitchOsc2Sustain", 1), ("EnvPitchOsc2Release", 0),
    ("EnvFilter1Active", 0), ("EnvFilter1Attack", 0.5), ("EnvFilter1Decay", 0.5), ("EnvFilter1Sustain", 0.5),
    ("EnvFilter1Release", 0.5),
    ("EnvLfo1Active", 0), ("EnvLfo1Attack", 0.5), ("EnvLfo1Decay", 0.5), ("EnvLfo1Sustain", 0.5),
    ("EnvLfo1Release", 0.5),
    ("MasterVolume", 0.5), ("MidiLearn", 0), ("Glide", 0), ("CurrentPlayMode", 0),
    ("Filter1EnvAmount", 1), ("Filter1KeyTrack", 0), ("Filter1Velocity", 0), ("Filter1Slope", 0),
    ("AmpVelocity", 1),
    ("Osc1Unison", 0), ("Osc1UnisonDetune", 0.3), ("Osc1UnisonWidth", 0.5),
    ("Osc2Unison", 0), ("Osc2UnisonDetune", 0.3), ("Osc2UnisonWidth", 0.5),
    ("Osc2Sync", 0), ("Lfo1ModWheel", 0),
]

NAMES = [name for name, _ in PARAMETERS]
WAVES = {"sine": 0, "square": 1, "triangle": 2, "saw": 3, "noise": 4}
FILTERS = {"lowpass": 0, "bandpass": 1, "highpass": 2}
LFO_WAVES = {"sine": 0, "square": 1, "sawup": 2, "sawdown": 3, "pump": 4, "s&h": 5}
LFO_TARGETS = {"amp": 0, "pitch": 1, "filter": 2}
PLAY_MODES = {"poly": 0, "mono": 1, "glide": 2}
NOTE_VALUES = ["8 bars", "4 bars D", "8 bars T", "4 bars", "2 bars D", "4 bars T", "2 bars", "1 bar D",
               "2 bars T", "1 bar", "1/2D", "1 bar T", "1/2", "1/4D", "1/2T", "1/4", "1/8D", "1/4T",
               "1/8", "1/16D", "1/8T", "1/16", "1/32D", "1/16T", "1/32"]

# Identifiers: a UUID made from the name in the bank's own namespace.
NAMESPACE = uuid.UUID("6f1d2c0e-8a43-4b5e-9c61-51a7e0b4f29d")


# Stored values from a musician's units -------------------------------------------------

# Attacks and releases jump at 0.5: attacks reach 1.5 s below it and 7.65 s above it,
# releases 2.5 s and 7.65 s; decays last up to a second.
def attack(seconds):
    assert seconds <= 1.5 or seconds >= 7.65, seconds
    return seconds / 3.0 if seconds <= 1.5 else seconds / 15.0


def decay(seconds):
    assert seconds <= 1.0, seconds
    return seconds


def release(seconds):
    assert seconds <= 2.5 or seconds >= 7.65, seconds
    return seconds / 5.0 if seconds <= 2.5 else seconds / 15.0


def semitones(st):
    return (st + 12) / 100.0


def cents(c):
    return 0.5 + c / 200.0


def cutoff(hz):
    return hz / 5000.0


def q(value):
    return value / 50.0


def note_value(name):
    return (NOTE_VALUES.index(name) + 0.5) / len(NOTE_VALUES)


# Pieces of a sound ----------------------------------------------------------------------

def osc(n, wave, gain=0.5, detune=0, offset=0, pan=0.0, bend=2):
    """Oscillator n (1 or 2): wave, gain (0.5 is unity), detune in cents, offset in
    semitones, pan -1 ... 1, pitch-wheel range in semitones."""
    p = "Osc%d" % n
    return {p + "Active": 1, p + "WaveType": WAVES[wave], p + "Gain": gain, p + "Detune": cents(detune),
            p + "Pan": 0.5 + pan / 2.0, p + "Offset": semitones(offset), p + "PitchRange": bend / 100.0}


def amp(n, a, d, s, r):
    """Amplitude envelope of oscillator n in seconds and sustain level."""
    p = "EnvAmpOsc%d" % n
    return {p + "Attack": attack(a), p + "Decay": decay(d), p + "Sustain": s, p + "Release": release(r)}


def amps(a, d, s, r):
    return {**amp(1, a, d, s, r), **amp(2, a, d, s, r)}


def pitch_env(n, st, a, d=0.0, s=1.0, r=0.0, down=False):
    """Pitch envelope of oscillator n with a range of st steps: over the attack the pitch
    moves from one step above (down) or below (up) the oscillator's pitch to st - 1 steps
    the other way, and stays there while the sustain is 1. A step is the distance to the
    neighbouring semitone, in Hz, so an offset of +1 with st 2 falls into the note
    exactly, +2 with st 3 and +7 with st 7 nearly (a rise: -1 with 2, -2 with 3)."""
    sustain = s
    return {"Osc%dPitchEnvRange" % n: st / 100.0, "Osc%dPitchEnvDown" % n: 1 if down else 0,
            "EnvPitchOsc%dActive" % n: 1, "EnvPitchOsc%dAttack" % n: attack(a),
            "EnvPitchOsc%dDecay" % n: decay(d), "EnvPitchOsc%dSustain" % n: sustain,
            "EnvPitchOsc%dRelease" % n: release(r)}


def filt(kind, hz, res=1.0, env=None):
    """The filter: type, cutoff in Hz (at the envelope's peak when it has one), resonance
    as Q, envelope (attack, decay, sustain, release)."""
    values = {"Filter1Active": 1, "Filter1Type": FILTERS[kind], "Filter1Cutoff": cutoff(hz),
              "Filter1Resonance": q(res) if res > 1.0 else 0.0}
    if env is not None:
        a, d, s, r = env
        values.update({"EnvFilter1Active": 1, "EnvFilter1Attack": attack(a), "EnvFilter1Decay": decay(d),
                       "EnvFilter1Sustain": s, "EnvFilter1Release": release(r)})
    return values


def lfo(wave, target, mix, hz=None, sync=None, retrigger=False, env=None):
    """The LFO: wave, target, depth, rate in Hz or a note value, its envelope (attack,
    decay, sustain, release) on the depth."""
    values = {"Lfo1Active": 1, "Lfo1WaveType": LFO_WAVES[wave], "Lfo1Target": LFO_TARGETS[target],
              "Lfo1Mix": mix, "Lfo1Mode": 1 if retrigger else 0}
    if sync is not None:
        values.update({"Lfo1Sync": 1, "Lfo1Speed": note_value(sync)})
    else:
        values.update({"Lfo1Sync": 0, "Lfo1Speed": hz / 10.0})
    if env is not None:
        a, d, s, r = env
        values.update({"EnvLfo1Active": 1, "EnvLfo1Attack": attack(a), "EnvLfo1Decay": decay(d),
                       "EnvLfo1Sustain": s, "EnvLfo1Release": release(r)})
    return values


def vibrato(depth=0.012, hz=5.5, delay=0.5):
    """A vibrato that comes in after the note has started."""
    return lfo("sine", "pitch", depth, hz=hz, retrigger=True, env=(delay, 0.0, 1.0, 0.5))


def unison(n, voices, spread=30, width=0.5):
    """n copies of oscillator n, the outermost spread cents apart, width across the field."""
    return {"Osc%dUnison" % n: voices - 1, "Osc%dUnisonDetune" % n: spread / 100.0, "Osc%dUnisonWidth" % n: width}


def sync():
    """Oscillator 2 restarts with every cycle of oscillator 1."""
    return {"Osc2Sync": 1}


def filter_mod(amount=1.0, keys=0.0, velocity=0.0, slope24=False):
    """How far the filter envelope moves the cutoff (-1 ... 1), how far the cutoff follows
    the keys and the touch, and the 24 dB slope."""
    return {"Filter1EnvAmount": 0.5 + amount / 2.0, "Filter1KeyTrack": keys, "Filter1Velocity": velocity,
            "Filter1Slope": 1 if slope24 else 0}


def touch(amount):
    """How much the velocity sets the loudness (1 as always, 0 every note alike)."""
    return {"AmpVelocity": amount}


def delay(mix, sixteenths=None, seconds=None, feedback=0.4, swing=0.0):
    values = {"Delay1Active": 1, "Delay1Mix": mix, "Delay1Feedback": feedback, "Delay1Swing": swing}
    if seconds is not None:
        values.update({"Delay1Sync": 0, "Delay1Time": seconds / 2.0})
    else:
        values.update({"Delay1Sync": 1, "Delay1Time": sixteenths / 8.0})
    return values


def reverb(mix, size=0.5, damping=0.5):
    return {"Reverb1Active": 1, "Reverb1Mix": mix, "Reverb1Feedback": size, "Reverb1Damping": damping}


def play(mode, glide=0.0):
    return {"CurrentPlayMode": PLAY_MODES[mode], "Glide": glide}


def volume(level):
    """The master volume, 1 is unity."""
    return {"MasterVolume": level / 2.0}


# Level trims in dB, set by ear and by the audition renders (scripts/render-bank.sh), so
# that every program plays the audition phrase at about the same loudness: the master
# volume first, then both oscillators' gains for what the volume cannot give.
LEVELS = {
    'Acid Bass': -14.2,
    'Deep Sub': -8.9,
    'Saw Bass': -6.3,
    'Square Bass': -7.6,
    'Reese Bass': -5.8,
    'Wobble Bass': -11.9,
    'Rubber Bass': -3.7,
    'Fretless Bass': -8.4,
    'Finger Bass': -4.6,
    '80s Synth Bass': -8.7,
    'Dub Bass': -7.7,
    'Growl Bass': -8.2,
    'Octave Bass': -2.9,
    'Hollow Bass': -18.8,
    'Picked Bass': 1.3,
    'Round Bass': -7.5,
    'Glide Bass': -6.6,
    'Pump Bass': -5.2,
    'Velocity Bass': -5.6,
    'Opening Lead': -6.3,
    'Classic Saw Lead': -4.6,
    'Square Lead': -6.5,
    'Fifth Lead': -6.3,
    'Chip Lead': -7.7,
    'Screamer': -5.8,
    'Portamento Lead': -4.6,
    'Wah Lead': -6.2,
    'Bend Lead': 3.0,
    'Delay Lead': -7.7,
    'Zap Lead': -4.3,
    'Octave Lead': -4.6,
    'Pulse Lead': -8.1,
    'Trance Lead': -6.6,
    'Hard Lead': -5.7,
    'Vintage Mono Lead': -6.1,
    'Scoop Lead': -4.8,
    'Warm Pad': -5.3,
    'Glass Pad': -8.0,
    'Dark Pad': -7.7,
    'Sweep Pad': -8.3,
    'Choir Pad': -0.7,
    'Shimmer Pad': -4.6,
    'Slow Motion Pad': -5.3,
    'Chorus Pad': -8.6,
    'Tremolo Pad': -3.5,
    'Wide Pad': -7.3,
    'Analog Pad': -7.9,
    'Airy Pad': 1.1,
    'Ambient Pad': -10.9,
    'Octave Pad': -4.7,
    'Evolving Pad': -9.9,
    'Hollow Pad': -11.8,
    'Fifth Pad': -4.2,
    'Reverse Sweep Pad': -7.5,
    'Electric Piano': 5.2,
    'Bright EP': 5.4,
    'Clavinet': 12.1,
    'Harpsichord': 5.1,
    'Toy Piano': 6.4,
    'Wurly Keys': 1.9,
    'Soft Keys': 5.1,
    'Dream Keys': 3.4,
    'Stage Piano': 10.7,
    'Synth Piano': 4.8,
    'Funky Clav': -0.4,
    'Vibrato Keys': 5.2,
    'Tine Keys': 4.5,
    'Mellow Keys': 3.1,
    'Pop Keys': 8.6,
    'Synth Pluck': 3.5,
    'Harp': 6.6,
    'Koto Pluck': 17.0,
    'Delay Pluck': 4.8,
    'Bright Pluck': 9.9,
    'Nylon Pluck': 8.8,
    'Muted Pluck': 8.9,
    'Pizzicato': 4.9,
    'Bell Pluck': 5.5,
    'Resonant Pluck': -20.7,
    'Glass Pluck': 9.4,
    'Space Pluck': 4.0,
    'Banjo Pluck': 8.4,
    'Swing Pluck': 8.9,
    'Pop Pluck': 4.2,
    'Tracking Pluck': 2.9,
    'Dynamic Brass': -5.9,
    'Synth Brass': -7.2,
    'Brass Section': -6.6,
    'Trumpet': -0.3,
    'French Horn': -4.2,
    'Brass Stabs': -2.9,
    'Tuba': -1.1,
    'Trombone': -4.1,
    'String Ensemble': -6.0,
    'Slow Strings': -6.5,
    'Chamber Strings': -2.9,
    'Cello': -3.8,
    'Violin Solo': -3.7,
    'Tremolo Strings': -5.9,
    'Synth Strings': -7.9,
    'Octave Strings': -4.4,
    'Tubular Bell': 0.9,
    'Glockenspiel': 4.2,
    'Marimba': 6.5,
    'Vibraphone': 3.8,
    'Music Box': 5.2,
    'Kalimba': 6.1,
    'Steel Drum': 11.9,
    'Xylophone': 5.0,
    'Crystal Bell': 3.2,
    'Church Bell': -2.5,
    'Celesta': 5.2,
    'Wind Chimes': 0.7,
    'Riser': -7.0,
    'Laser Zap': 7.6,
    'Alarm': -6.2,
    'UFO': -8.8,
    'Dark Drone': -11.8,
    'Space Echo': -0.6,
    'Underwater': -14.0,
    'Siren': -6.4,
    'Bubbles': 11.0,
    'Wind Sweep': 6.8,
    'Haunted': -12.1,
    'Metal Scrape': -10.3,
    'Broken Radio': 5.2,
    'Pumping Pad': -4.0,
    'Trance Gate': -8.2,
    'Dotted Echo': 1.6,
    'Swing Echo': 4.5,
    'Tempo Wobble': -12.3,
    'Pulse Chords': -7.3,
    'Step Filter': -9.6,
    'Arp Echo': 5.5,
    'Synth Kick': 6.8,
    'Tom Drum': 4.3,
    'Laser Tom': 6.7,
    'Cowbell': 11.9,
    'Clave': 6.8,
    'Wood Block': 1.8,
    'Conga': 3.4,
    'Zap Snare': 3.7,
    'Rim Shot': 10.0,
}


def trim(values, db):
    gain = 10.0 ** (db / 20.0)
    master = values.get("MasterVolume", 0.5) * gain
    if master > 1.0:
        for oscillator in ("Osc1Gain", "Osc2Gain"):
            if oscillator in values:
                values[oscillator] = min(1.0, values[oscillator] * master)
        master = 1.0
    values["MasterVolume"] = round(master, 3)


# The bank --------------------------------------------------------------------------------

BANK = []


# What the modulation wheel does, added to every sound by its LFO: with no LFO of its own the
# wheel brings in a vibrato; otherwise it deepens what the LFO does.
WHEEL_DEPTH = {"vibrato": 0.02, "deeper vibrato": 0.02, "wider sweep": 0.3, "deeper tremolo": 0.35,
               "deeper gate": 0.3, "deeper pump": 0.4, "more wobble": 0.35}


def wheel(values, category):
    if category == "Percussion":
        return "none"
    if not values.get("Lfo1Active"):
        values.update(lfo("sine", "pitch", 0.0, hz=5.5, retrigger=True))
        kind = "vibrato"
    else:
        target, wave = values["Lfo1Target"], values["Lfo1WaveType"]
        if target == LFO_TARGETS["pitch"]:
            kind = "deeper vibrato" if values["Lfo1Mix"] < 0.05 else "wider sweep"
        elif target == LFO_TARGETS["filter"]:
            kind = "more wobble"
        elif wave == LFO_WAVES["pump"]:
            kind = "deeper pump"
        elif wave == LFO_WAVES["square"]:
            kind = "deeper gate"
        else:
            kind = "deeper tremolo"
    depth = WHEEL_DEPTH[kind]
    if kind in ("deeper pump", "deeper gate") and values["Lfo1Mix"] > 1.0 - depth:
        values["Lfo1Mix"] = 1.0 - depth
    values["Lfo1ModWheel"] = depth
    return kind


def sound(name, category, subtype, mode, *pieces):
    values = {}
    for piece in pieces:
        values.update(piece)
    mode = mode.replace(NO_WHEEL, "Mod wheel: " + wheel(values, category))
    trim(values, LEVELS.get(name, 0.0))
    unknown = set(values) - set(NAMES)
    assert not unknown, (name, unknown)
    assert len(name) <= 24, name
    assert all(s["name"] != name for s in BANK), name
    BANK.append({"name": name, "category": category, "subtype": subtype, "mode": mode, "values": values})


# Each sound: name, category, subtype, mode (the play mode and what the modulation wheel
# does), then its pieces. Sounds start from the default program: oscillator 1 a sine,
# oscillator 2 off, filter, LFO, delay and reverb off.

NO_WHEEL = "Mod wheel: none"
POLY = "Poly, " + NO_WHEEL
MONO = "Mono, " + NO_WHEEL
GLIDE = "Glide, " + NO_WHEEL

# Bass ------------------------------------------------------------------------------------
sound("Acid Bass", "Bass", "Acid, velocity: filter", GLIDE,
      osc(1, "saw", 0.55), amp(1, 0.0, 1.0, 0.85, 0.08),
      filt("lowpass", 2200, 14, env=(0.0, 0.22, 0.12, 0.1)), filter_mod(keys=0.3, velocity=0.5), play("glide", 0.18))
sound("Deep Sub", "Bass", "Sub", MONO,
      osc(1, "sine", 0.75), osc(2, "triangle", 0.18, offset=12), amps(0.006, 1.0, 1.0, 0.15), touch(0.3), play("mono"))
sound("Saw Bass", "Bass", "Analog", POLY,
      osc(1, "saw", 0.5, detune=-6), osc(2, "saw", 0.5, detune=6), amps(0.0, 0.6, 0.7, 0.12),
      filt("lowpass", 1400, 2, env=(0.0, 0.35, 0.35, 0.15)))
sound("Square Bass", "Bass", "Analog", MONO,
      osc(1, "square", 0.5), osc(2, "sine", 0.5, offset=-12), amps(0.0, 0.8, 0.8, 0.1),
      filt("lowpass", 900, 3), play("mono"))
sound("Reese Bass", "Bass", "Detuned", MONO,
      osc(1, "saw", 0.5, detune=-14), osc(2, "saw", 0.5, detune=14), amps(0.01, 1.0, 0.9, 0.2),
      filt("lowpass", 700, 2), lfo("sine", "filter", 0.35, hz=0.3), play("mono"))
sound("Wobble Bass", "Bass", "Wobble", MONO,
      osc(1, "saw", 0.5), osc(2, "square", 0.45, offset=-12), amps(0.0, 1.0, 1.0, 0.1),
      filt("lowpass", 900, 6), lfo("sine", "filter", 0.8, sync="1/8", retrigger=True), play("mono"))
sound("Rubber Bass", "Bass", "Pitch envelope", MONO,
      osc(1, "triangle", 0.7, offset=2), osc(2, "square", 0.15), amps(0.0, 0.7, 0.6, 0.1),
      pitch_env(1, 3, 0.06, down=True), filt("lowpass", 1200, 4), play("mono"))
sound("Fretless Bass", "Bass", "Glide", GLIDE,
      osc(1, "sine", 0.6), osc(2, "triangle", 0.4), amps(0.02, 1.0, 0.7, 0.2),
      filt("lowpass", 1000), play("glide", 0.2))
sound("Finger Bass", "Bass", "Electric", POLY,
      osc(1, "triangle", 0.65), osc(2, "square", 0.18), amps(0.0, 1.0, 0.5, 0.15),
      filt("lowpass", 1200, 1, env=(0.0, 0.3, 0.3, 0.1)))
sound("80s Synth Bass", "Bass", "Analog", POLY,
      osc(1, "square", 0.5), osc(2, "saw", 0.3, offset=12), amps(0.0, 0.5, 0.6, 0.1),
      filt("lowpass", 1800, 3, env=(0.0, 0.18, 0.25, 0.1)))
sound("Dub Bass", "Bass", "Dub", MONO,
      osc(1, "sine", 0.7), osc(2, "square", 0.2), amps(0.004, 1.0, 0.9, 0.2),
      filt("lowpass", 350), delay(0.2, sixteenths=3, feedback=0.3), play("mono"))
sound("Growl Bass", "Bass", "Wobble", MONO,
      osc(1, "saw", 0.5), osc(2, "saw", 0.35, offset=7), amps(0.0, 1.0, 0.9, 0.1),
      filt("lowpass", 1500, 10), lfo("sine", "filter", 0.4, hz=6.0, retrigger=True), play("mono"))
sound("Octave Bass", "Bass", "Analog", POLY,
      osc(1, "saw", 0.5), osc(2, "square", 0.3, offset=12), amps(0.0, 0.7, 0.6, 0.12),
      filt("lowpass", 1300, 2, env=(0.0, 0.25, 0.4, 0.1)))
sound("Hollow Bass", "Bass", "Resonant", POLY,
      osc(1, "square", 0.6), amps(0.0, 0.8, 0.6, 0.12), filt("lowpass", 600, 12, env=(0.0, 0.4, 0.4, 0.1)))
sound("Picked Bass", "Bass", "Electric", POLY,
      osc(1, "saw", 0.55), amps(0.0, 0.9, 0.35, 0.1), filt("lowpass", 2500, 2, env=(0.0, 0.12, 0.1, 0.1)),
      filter_mod(keys=0.5, velocity=0.6))
sound("Round Bass", "Bass", "Soft", POLY,
      osc(1, "triangle", 0.6), osc(2, "sine", 0.5, detune=4), amps(0.003, 1.0, 0.8, 0.15))
sound("Glide Bass", "Bass", "Glide", GLIDE,
      osc(1, "saw", 0.5), osc(2, "saw", 0.4, offset=-12, detune=5), amps(0.0, 1.0, 0.85, 0.12),
      filt("lowpass", 1200, 3), play("glide", 0.3))
sound("Pump Bass", "Bass", "Sidechain", MONO,
      osc(1, "saw", 0.5), osc(2, "square", 0.4, offset=-12), amps(0.0, 1.0, 1.0, 0.1),
      filt("lowpass", 1000, 2), lfo("pump", "amp", 1.0, sync="1/4"), play("mono"))

sound("Velocity Bass", "Bass", "Velocity: filter", MONO,
      osc(1, "saw", 0.5), osc(2, "square", 0.35, offset=-12), amps(0.0, 0.8, 0.7, 0.1),
      filt("lowpass", 2500, 4, env=(0.0, 0.25, 0.3, 0.1)), filter_mod(keys=0.4, velocity=0.9), play("mono"))

# Lead ------------------------------------------------------------------------------------
sound("Opening Lead", "Lead", "Filter envelope down", MONO,
      osc(1, "saw", 0.5), osc(2, "square", 0.4, detune=5), amps(0.005, 1.0, 0.9, 0.2),
      filt("lowpass", 4500, 4, env=(0.0, 0.6, 0.5, 0.2)), filter_mod(amount=-0.6, keys=0.5), play("mono"))
sound("Classic Saw Lead", "Lead", "Analog", GLIDE,
      osc(1, "saw", 0.5, detune=-8), osc(2, "saw", 0.5, detune=8), amps(0.005, 1.0, 0.9, 0.25),
      vibrato(), delay(0.2, sixteenths=3, feedback=0.3), reverb(0.15), play("glide", 0.15))
sound("Square Lead", "Lead", "Analog", MONO,
      osc(1, "square", 0.55), osc(2, "square", 0.2, offset=12), amps(0.005, 1.0, 0.85, 0.2),
      vibrato(), play("mono"))
sound("Fifth Lead", "Lead", "Fifths", GLIDE,
      osc(1, "saw", 0.5), osc(2, "saw", 0.4, offset=7), amps(0.005, 1.0, 0.9, 0.2),
      filt("lowpass", 4500), play("glide", 0.15))
sound("Chip Lead", "Lead", "8-bit", MONO,
      osc(1, "square", 0.5), osc(2, "square", 0.25, offset=12), amps(0.0, 0.3, 0.8, 0.05), touch(0.0),
      lfo("sine", "pitch", 0.02, hz=7.0, retrigger=True), play("mono"))
sound("Screamer", "Lead", "Resonant", MONO,
      osc(1, "saw", 0.5), osc(2, "square", 0.4, offset=12), amps(0.0, 1.0, 0.9, 0.2),
      filt("lowpass", 3500, 8), delay(0.2, sixteenths=3, feedback=0.35), play("mono"))
sound("Portamento Lead", "Lead", "Glide", GLIDE,
      osc(1, "saw", 0.55), osc(2, "triangle", 0.35, offset=12), amps(0.01, 1.0, 0.9, 0.2),
      vibrato(0.01, 5.0, 0.6), play("glide", 0.35))
sound("Wah Lead", "Lead", "Filter LFO", MONO,
      osc(1, "saw", 0.5), osc(2, "saw", 0.45, detune=10), amps(0.005, 1.0, 0.9, 0.2),
      filt("lowpass", 2500, 6), lfo("sine", "filter", 0.6, hz=2.0, retrigger=True), play("mono"))
sound("Bend Lead", "Lead", "Wheel an octave", MONO,
      osc(1, "saw", 0.5, bend=12), osc(2, "square", 0.35, bend=12), amps(0.005, 1.0, 0.9, 0.2),
      vibrato(), play("mono"))
sound("Delay Lead", "Lead", "Echo", POLY,
      osc(1, "square", 0.45, detune=-5), osc(2, "saw", 0.45, detune=5), amps(0.005, 1.0, 0.85, 0.25),
      delay(0.35, sixteenths=3, feedback=0.45), reverb(0.2))
sound("Zap Lead", "Lead", "Pitch envelope", MONO,
      osc(1, "saw", 0.5, offset=2), osc(2, "square", 0.35), amps(0.0, 1.0, 0.9, 0.15),
      pitch_env(1, 3, 0.04, down=True), play("mono"))
sound("Octave Lead", "Lead", "Analog", MONO,
      osc(1, "saw", 0.55), osc(2, "saw", 0.35, offset=-12), amps(0.005, 1.0, 0.9, 0.2),
      vibrato(0.01), play("mono"))
sound("Pulse Lead", "Lead", "Resonant", MONO,
      osc(1, "square", 0.55), osc(2, "triangle", 0.3, offset=12), amps(0.005, 1.0, 0.9, 0.2),
      filt("lowpass", 3000, 5), play("mono"))
sound("Trance Lead", "Lead", "Echo", POLY,
      osc(1, "saw", 0.5, detune=-12), osc(2, "saw", 0.5, detune=12), amps(0.005, 1.0, 0.85, 0.3),
      delay(0.3, sixteenths=3, feedback=0.4), reverb(0.3, size=0.7))
sound("Hard Lead", "Lead", "Analog", MONO,
      osc(1, "saw", 0.6), osc(2, "square", 0.45, detune=3), amps(0.0, 0.5, 0.85, 0.1), play("mono"))
sound("Vintage Mono Lead", "Lead", "Analog", MONO,
      osc(1, "saw", 0.5), osc(2, "square", 0.4, detune=6), amps(0.005, 1.0, 0.9, 0.2),
      filt("lowpass", 3000, 2, env=(0.0, 0.5, 0.6, 0.2)), vibrato(0.01, 5.0, 0.7), play("mono"))
sound("Scoop Lead", "Lead", "Pitch envelope", MONO,
      osc(1, "saw", 0.55, offset=-1), osc(2, "square", 0.3), amps(0.01, 1.0, 0.9, 0.2),
      pitch_env(1, 2, 0.08), vibrato(0.012, 5.5, 0.4), play("mono"))

# Pad -------------------------------------------------------------------------------------
sound("Warm Pad", "Pad", "Analog", POLY,
      osc(1, "saw", 0.5, detune=-7), osc(2, "saw", 0.5, detune=7), amps(0.6, 1.0, 0.9, 1.2),
      filt("lowpass", 1300), reverb(0.3, size=0.7))
sound("Glass Pad", "Pad", "Bright", POLY,
      osc(1, "triangle", 0.6), osc(2, "sine", 0.3, offset=12), amps(0.4, 1.0, 0.9, 1.5),
      filt("highpass", 120), delay(0.2, seconds=0.45, feedback=0.35), reverb(0.35, size=0.8))
sound("Dark Pad", "Pad", "Dark", POLY,
      osc(1, "saw", 0.5), osc(2, "square", 0.4, offset=-12), amps(0.9, 1.0, 1.0, 1.8),
      filt("lowpass", 450), reverb(0.3, size=0.8))
sound("Sweep Pad", "Pad", "Filter sweep", POLY,
      osc(1, "saw", 0.5, detune=-9), osc(2, "saw", 0.5, detune=9), amps(0.5, 1.0, 0.9, 1.5),
      filt("lowpass", 2500, 4, env=(1.5, 1.0, 0.6, 1.5)), reverb(0.3, size=0.7))
sound("Choir Pad", "Pad", "Vocal", POLY,
      osc(1, "square", 0.6), osc(2, "saw", 0.5, detune=8), amps(0.5, 1.0, 0.9, 1.2),
      filt("bandpass", 900, 2), vibrato(0.006, 4.5, 0.8), reverb(0.35, size=0.8))
sound("Shimmer Pad", "Pad", "Bright", POLY,
      osc(1, "saw", 0.5), osc(2, "triangle", 0.5, offset=12), amps(0.7, 1.0, 0.9, 2.0),
      filt("highpass", 400), delay(0.25, sixteenths=3, feedback=0.5), reverb(0.45, size=0.85))
sound("Slow Motion Pad", "Pad", "Slow", POLY,
      osc(1, "saw", 0.5, detune=-5), osc(2, "saw", 0.5, detune=5), amps(1.5, 1.0, 1.0, 2.5),
      filt("lowpass", 900), reverb(0.35, size=0.8))
sound("Chorus Pad", "Pad", "Analog", POLY,
      osc(1, "square", 0.55, detune=-6), osc(2, "square", 0.3, detune=6), amps(0.45, 1.0, 0.9, 1.2),
      filt("lowpass", 1600), lfo("sine", "pitch", 0.006, hz=0.6), reverb(0.25))
sound("Tremolo Pad", "Pad", "Tremolo", POLY,
      osc(1, "triangle", 0.6), osc(2, "saw", 0.4), amps(0.5, 1.0, 0.9, 1.2),
      filt("lowpass", 1400), lfo("sine", "amp", 0.35, hz=5.0), reverb(0.25))
sound("Wide Pad", "Pad", "Stereo", POLY,
      osc(1, "saw", 0.5, detune=-8, pan=-0.8), osc(2, "saw", 0.5, detune=8, pan=0.8),
      amps(0.6, 1.0, 0.9, 1.5), filt("lowpass", 1500), reverb(0.3, size=0.75))
sound("Analog Pad", "Pad", "Analog", POLY,
      osc(1, "saw", 0.5), osc(2, "square", 0.45, detune=7), amps(0.5, 1.0, 0.9, 1.2),
      filt("lowpass", 1800, 2, env=(0.8, 1.0, 0.7, 1.5)), reverb(0.25))
sound("Airy Pad", "Pad", "Bright", POLY,
      osc(1, "saw", 0.45), osc(2, "saw", 0.4, offset=12, detune=6), amps(0.8, 1.0, 0.9, 2.0),
      filt("highpass", 1500), reverb(0.4, size=0.85))
sound("Ambient Pad", "Pad", "Ambient", POLY,
      osc(1, "triangle", 0.6), osc(2, "triangle", 0.45, offset=7), amps(1.2, 1.0, 1.0, 2.5),
      delay(0.25, seconds=0.6, feedback=0.45), reverb(0.5, size=0.9))
sound("Octave Pad", "Pad", "Analog", POLY,
      osc(1, "saw", 0.5), osc(2, "saw", 0.45, offset=-12, detune=6), amps(0.5, 1.0, 0.9, 1.2),
      filt("lowpass", 1100), reverb(0.3))
sound("Evolving Pad", "Pad", "Moving", POLY,
      osc(1, "saw", 0.5), osc(2, "square", 0.45, detune=-6), amps(0.8, 1.0, 0.9, 1.8),
      filt("lowpass", 1200, 3), lfo("sine", "filter", 0.5, hz=0.15, env=(1.5, 0.0, 1.0, 1.0)),
      reverb(0.35, size=0.8))
sound("Hollow Pad", "Pad", "Resonant", POLY,
      osc(1, "square", 0.5), osc(2, "square", 0.35, offset=12, detune=5), amps(0.5, 1.0, 0.9, 1.2),
      filt("lowpass", 1100, 4), reverb(0.3))
sound("Fifth Pad", "Pad", "Fifths", POLY,
      osc(1, "saw", 0.5), osc(2, "saw", 0.4, offset=7, detune=4), amps(0.6, 1.0, 0.9, 1.5),
      filt("lowpass", 1200), reverb(0.3, size=0.75))

sound("Reverse Sweep Pad", "Pad", "Filter envelope down", POLY,
      osc(1, "saw", 0.5, detune=-8), osc(2, "saw", 0.5, detune=8), amps(0.5, 1.0, 0.9, 1.5),
      filt("lowpass", 3000, 3, env=(0.3, 1.0, 0.1, 1.5)), filter_mod(amount=-0.9, keys=0.3), reverb(0.3, size=0.7))

# Keys ------------------------------------------------------------------------------------
sound("Electric Piano", "Keys", "Electric piano", POLY,
      osc(1, "sine", 0.6), osc(2, "triangle", 0.22, offset=12), amp(1, 0.002, 1.0, 0.16, 0.4),
      amp(2, 0.002, 0.35, 0.0, 0.3), reverb(0.15))
sound("Bright EP", "Keys", "Electric piano", POLY,
      osc(1, "sine", 0.6), osc(2, "square", 0.12, offset=12), amp(1, 0.002, 0.9, 0.15, 0.4),
      amp(2, 0.0, 0.25, 0.0, 0.2), reverb(0.2))
sound("Clavinet", "Keys", "Clavinet", POLY,
      osc(1, "saw", 0.5), osc(2, "square", 0.35), amps(0.0, 0.8, 0.12, 0.15), filt("highpass", 300), reverb(0.15))
sound("Harpsichord", "Keys", "Harpsichord", POLY,
      osc(1, "saw", 0.5), osc(2, "saw", 0.35, offset=12), amps(0.0, 1.0, 0.1, 0.5),
      filt("highpass", 500), reverb(0.25))
sound("Toy Piano", "Keys", "Toy", POLY,
      osc(1, "triangle", 0.6), osc(2, "sine", 0.35, offset=12, detune=30), amps(0.0, 0.8, 0.08, 0.6),
      reverb(0.25))
sound("Wurly Keys", "Keys", "Electric piano", POLY,
      osc(1, "triangle", 0.6), osc(2, "square", 0.2), amps(0.0, 0.9, 0.15, 0.3),
      filt("lowpass", 1500), lfo("sine", "amp", 0.2, hz=5.0))
sound("Soft Keys", "Keys", "Soft", POLY,
      osc(1, "triangle", 0.6), osc(2, "sine", 0.3, offset=12), amps(0.005, 0.9, 0.12, 0.6),
      filt("lowpass", 1800), reverb(0.25))
sound("Dream Keys", "Keys", "Echo", POLY,
      osc(1, "sine", 0.6), osc(2, "triangle", 0.25, offset=12), amps(0.0, 0.8, 0.1, 0.8),
      delay(0.3, sixteenths=3, feedback=0.45), reverb(0.35, size=0.8))
sound("Stage Piano", "Keys", "Piano", POLY,
      osc(1, "saw", 0.45), osc(2, "triangle", 0.45), amps(0.0, 1.0, 0.12, 0.35),
      filt("lowpass", 2500, 1, env=(0.0, 0.5, 0.2, 0.3)), filter_mod(keys=1.0, velocity=0.6), reverb(0.15))
sound("Synth Piano", "Keys", "Synth", POLY,
      osc(1, "square", 0.45), osc(2, "saw", 0.3, offset=12), amps(0.0, 0.9, 0.1, 0.3),
      filt("lowpass", 3000, 1, env=(0.0, 0.3, 0.15, 0.2)))
sound("Funky Clav", "Keys", "Clavinet", POLY,
      osc(1, "square", 0.6), amps(0.0, 0.4, 0.1, 0.08), filt("lowpass", 1500, 5, env=(0.0, 0.2, 0.3, 0.1)))
sound("Vibrato Keys", "Keys", "Electric piano", POLY,
      osc(1, "sine", 0.6), osc(2, "triangle", 0.2, offset=12), amps(0.0, 0.9, 0.15, 0.4),
      lfo("sine", "pitch", 0.01, hz=6.0), reverb(0.2))
sound("Tine Keys", "Keys", "Electric piano", POLY,
      osc(1, "sine", 0.6), osc(2, "sine", 0.3, offset=12, detune=8), amp(1, 0.0, 1.0, 0.18, 0.6),
      amp(2, 0.0, 0.15, 0.0, 0.1), reverb(0.2))
sound("Mellow Keys", "Keys", "Soft", POLY,
      osc(1, "triangle", 0.6), osc(2, "triangle", 0.4, offset=-12), amps(0.0, 1.0, 0.15, 0.5),
      filt("lowpass", 1200))
sound("Pop Keys", "Keys", "Synth", POLY,
      osc(1, "saw", 0.45, detune=-6), osc(2, "square", 0.4, detune=6), amps(0.0, 0.8, 0.06, 0.35),
      filt("lowpass", 2200, 1, env=(0.0, 0.4, 0.3, 0.3)), reverb(0.2))

# Pluck -----------------------------------------------------------------------------------
sound("Synth Pluck", "Pluck", "Synth", POLY,
      osc(1, "saw", 0.5), osc(2, "saw", 0.4, detune=7), amps(0.0, 0.8, 0.08, 0.5),
      filt("lowpass", 3000, 3, env=(0.0, 0.3, 0.2, 0.2)), reverb(0.3))
sound("Harp", "Pluck", "Harp", POLY,
      osc(1, "triangle", 0.6), osc(2, "sine", 0.3, offset=12), amps(0.0, 1.0, 0.0, 1.0), reverb(0.3))
sound("Koto Pluck", "Pluck", "Koto", POLY,
      osc(1, "square", 0.5, offset=1), osc(2, "saw", 0.35), amps(0.0, 0.9, 0.1, 0.5),
      pitch_env(1, 2, 0.02, down=True), filt("bandpass", 1500), reverb(0.25))
sound("Delay Pluck", "Pluck", "Echo", POLY,
      osc(1, "saw", 0.55), amps(0.0, 0.8, 0.15, 0.4), filt("lowpass", 2800, 2, env=(0.0, 0.3, 0.15, 0.2)),
      delay(0.4, sixteenths=3, feedback=0.5, swing=0.3))
sound("Bright Pluck", "Pluck", "Bright", POLY,
      osc(1, "saw", 0.5), osc(2, "square", 0.3, offset=12), amps(0.0, 0.7, 0.12, 0.3), filt("highpass", 200), reverb(0.2))
sound("Nylon Pluck", "Pluck", "Guitar", POLY,
      osc(1, "triangle", 0.6), osc(2, "saw", 0.15), amps(0.0, 1.0, 0.12, 0.5),
      filt("lowpass", 2000, 1, env=(0.0, 0.3, 0.1, 0.2)), filter_mod(keys=0.8, velocity=0.5), reverb(0.15))
sound("Muted Pluck", "Pluck", "Muted", POLY,
      osc(1, "square", 0.6), amps(0.0, 0.5, 0.12, 0.2), filt("lowpass", 800, 1, env=(0.0, 0.15, 0.1, 0.05)), reverb(0.15))
sound("Pizzicato", "Pluck", "Strings", POLY,
      osc(1, "saw", 0.5, detune=-5), osc(2, "saw", 0.5, detune=5), amps(0.0, 0.5, 0.08, 0.4),
      filt("lowpass", 2500, 1, env=(0.0, 0.2, 0.2, 0.2)), reverb(0.35, size=0.7))
sound("Bell Pluck", "Pluck", "Bell", POLY,
      osc(1, "sine", 0.6), osc(2, "triangle", 0.3, offset=12, detune=10), amps(0.0, 0.9, 0.1, 0.6),
      delay(0.25, sixteenths=2, feedback=0.35), reverb(0.2))
sound("Resonant Pluck", "Pluck", "Resonant", POLY,
      osc(1, "saw", 0.55), amps(0.0, 0.5, 0.0, 0.2), filt("lowpass", 2500, 20, env=(0.0, 0.15, 0.0, 0.1)))
sound("Glass Pluck", "Pluck", "Bright", POLY,
      osc(1, "triangle", 0.6), osc(2, "sine", 0.4, offset=12, detune=5), amps(0.0, 0.8, 0.1, 0.6),
      filt("highpass", 600), reverb(0.3))
sound("Space Pluck", "Pluck", "Echo", POLY,
      osc(1, "saw", 0.5), osc(2, "square", 0.3, offset=7), amps(0.0, 0.6, 0.08, 0.4),
      filt("lowpass", 2500, 2, env=(0.0, 0.25, 0.0, 0.2)), delay(0.3, seconds=0.38, feedback=0.55),
      reverb(0.4, size=0.85))
sound("Banjo Pluck", "Pluck", "Guitar", POLY,
      osc(1, "square", 0.5), osc(2, "saw", 0.35, offset=12), amps(0.0, 0.6, 0.1, 0.3), filt("highpass", 400), reverb(0.15))
sound("Swing Pluck", "Pluck", "Echo", POLY,
      osc(1, "triangle", 0.6), osc(2, "saw", 0.25), amps(0.0, 0.6, 0.1, 0.3),
      delay(0.4, sixteenths=2, feedback=0.45, swing=0.6), reverb(0.15))
sound("Pop Pluck", "Pluck", "Synth", POLY,
      osc(1, "square", 0.5), osc(2, "square", 0.35, offset=12, detune=7), amps(0.0, 0.7, 0.1, 0.3),
      filt("lowpass", 3500, 1, env=(0.0, 0.2, 0.15, 0.1)), reverb(0.2))

sound("Tracking Pluck", "Pluck", "Key tracking", POLY,
      osc(1, "saw", 0.55), osc(2, "square", 0.25, detune=6), amps(0.0, 0.8, 0.1, 0.4),
      filt("lowpass", 1200, 5, env=(0.0, 0.3, 0.15, 0.2)), filter_mod(keys=1.0, velocity=0.4), reverb(0.25))

# Brass and Strings -----------------------------------------------------------------------
sound("Dynamic Brass", "Brass and Strings", "Brass, velocity: filter", POLY,
      osc(1, "saw", 0.5, detune=-5), osc(2, "saw", 0.5, detune=5), amps(0.03, 1.0, 0.9, 0.2),
      filt("lowpass", 3000, 2, env=(0.08, 0.5, 0.6, 0.2)), filter_mod(amount=0.8, keys=0.4, velocity=0.8), reverb(0.2))
sound("Synth Brass", "Brass and Strings", "Brass", POLY,
      osc(1, "saw", 0.5, detune=-6), osc(2, "saw", 0.5, detune=6), amps(0.02, 1.0, 0.9, 0.2),
      filt("lowpass", 3000, 2, env=(0.06, 0.4, 0.6, 0.2)), filter_mod(keys=0.5, velocity=0.5))
sound("Brass Section", "Brass and Strings", "Brass", POLY,
      osc(1, "saw", 0.5), osc(2, "square", 0.4, detune=5), amps(0.03, 1.0, 0.9, 0.25),
      filt("lowpass", 2500, 1, env=(0.08, 0.5, 0.5, 0.25)), reverb(0.2))
sound("Trumpet", "Brass and Strings", "Brass", MONO,
      osc(1, "saw", 0.55, offset=-1), amps(0.02, 1.0, 0.9, 0.1), pitch_env(1, 2, 0.05),
      filt("lowpass", 3500, 1, env=(0.04, 0.3, 0.7, 0.1)), vibrato(0.01, 5.5, 0.4), reverb(0.15), play("mono"))
sound("French Horn", "Brass and Strings", "Brass", POLY,
      osc(1, "triangle", 0.6), osc(2, "saw", 0.3), amps(0.05, 1.0, 0.9, 0.3),
      filt("lowpass", 1200, 1, env=(0.1, 0.5, 0.7, 0.3)), reverb(0.25))
sound("Brass Stabs", "Brass and Strings", "Brass", POLY,
      osc(1, "saw", 0.5, detune=-4), osc(2, "saw", 0.5, detune=4), amps(0.0, 0.4, 0.6, 0.1),
      filt("lowpass", 4000, 1, env=(0.0, 0.25, 0.3, 0.1)))
sound("Tuba", "Brass and Strings", "Brass", MONO,
      osc(1, "saw", 0.5, offset=-12), osc(2, "square", 0.3), amps(0.03, 1.0, 0.9, 0.15),
      filt("lowpass", 600, 1, env=(0.06, 0.4, 0.6, 0.15)), play("mono"))
sound("Trombone", "Brass and Strings", "Brass", GLIDE,
      osc(1, "saw", 0.55), amps(0.03, 1.0, 0.9, 0.15), filt("lowpass", 2000, 1, env=(0.07, 0.4, 0.6, 0.15)),
      play("glide", 0.25))
sound("String Ensemble", "Brass and Strings", "Strings", POLY,
      osc(1, "saw", 0.5, detune=-8), osc(2, "saw", 0.5, detune=8), amps(0.3, 1.0, 0.9, 0.8),
      filt("lowpass", 3000), vibrato(0.006, 5.0, 0.5), reverb(0.3, size=0.7))
sound("Slow Strings", "Brass and Strings", "Strings", POLY,
      osc(1, "saw", 0.5, detune=-6), osc(2, "saw", 0.5, detune=6), amps(1.2, 1.0, 1.0, 1.5),
      filt("lowpass", 2200), reverb(0.4, size=0.8))
sound("Chamber Strings", "Brass and Strings", "Strings", POLY,
      osc(1, "saw", 0.55), osc(2, "triangle", 0.2, offset=12), amps(0.15, 1.0, 0.9, 0.6),
      filt("lowpass", 2500), vibrato(0.008, 5.5, 0.3), reverb(0.25))
sound("Cello", "Brass and Strings", "Strings", POLY,
      osc(1, "saw", 0.55), amps(0.1, 1.0, 0.9, 0.4), filt("lowpass", 1500, 2), vibrato(0.01, 5.0, 0.4),
      reverb(0.2))
sound("Violin Solo", "Brass and Strings", "Strings", GLIDE,
      osc(1, "saw", 0.55), amps(0.08, 1.0, 0.9, 0.3), filt("lowpass", 3500, 2),
      vibrato(0.015, 5.5, 0.3), reverb(0.25), play("glide", 0.12))
sound("Tremolo Strings", "Brass and Strings", "Strings", POLY,
      osc(1, "saw", 0.5, detune=-7), osc(2, "saw", 0.5, detune=7), amps(0.1, 1.0, 0.9, 0.5),
      filt("lowpass", 2500), lfo("sine", "amp", 0.5, hz=7.0), reverb(0.25))
sound("Synth Strings", "Brass and Strings", "Strings", POLY,
      osc(1, "square", 0.45, detune=-10), osc(2, "saw", 0.5, detune=10), amps(0.25, 1.0, 0.9, 0.9),
      filt("lowpass", 2000), lfo("sine", "pitch", 0.005, hz=0.8), reverb(0.3))
sound("Octave Strings", "Brass and Strings", "Strings", POLY,
      osc(1, "saw", 0.5), osc(2, "saw", 0.35, offset=12, detune=5), amps(0.2, 1.0, 0.9, 0.7),
      filt("lowpass", 3000), reverb(0.3))

# Bells and Mallets -----------------------------------------------------------------------
sound("Tubular Bell", "Bells and Mallets", "Bell", POLY,
      osc(1, "sine", 0.6), osc(2, "sine", 0.4, offset=12, detune=20), amp(1, 0.0, 1.0, 0.25, 2.5),
      amp(2, 0.0, 0.6, 0.0, 1.0), reverb(0.3, size=0.8))
sound("Glockenspiel", "Bells and Mallets", "Mallet", POLY,
      osc(1, "sine", 0.6, offset=12), osc(2, "triangle", 0.3, offset=12, detune=12), amps(0.0, 1.0, 0.1, 1.2),
      reverb(0.3))
sound("Marimba", "Bells and Mallets", "Mallet", POLY,
      osc(1, "sine", 0.65), osc(2, "sine", 0.2, offset=12), amp(1, 0.0, 0.8, 0.08, 0.5),
      amp(2, 0.0, 0.15, 0.0, 0.1), reverb(0.25))
sound("Vibraphone", "Bells and Mallets", "Mallet", POLY,
      osc(1, "sine", 0.6), osc(2, "sine", 0.25, offset=12), amps(0.0, 1.0, 0.15, 1.5),
      lfo("sine", "amp", 0.35, hz=5.5), reverb(0.25))
sound("Music Box", "Bells and Mallets", "Bell", POLY,
      osc(1, "triangle", 0.55, offset=12), osc(2, "sine", 0.35, offset=12, detune=6), amps(0.0, 0.9, 0.0, 0.8),
      reverb(0.3, size=0.7))
sound("Kalimba", "Bells and Mallets", "Mallet", POLY,
      osc(1, "sine", 0.65, offset=1), osc(2, "triangle", 0.2, offset=12), amp(1, 0.0, 0.8, 0.08, 0.5),
      amp(2, 0.0, 0.08, 0.0, 0.05), pitch_env(1, 2, 0.015, down=True), reverb(0.3))
sound("Steel Drum", "Bells and Mallets", "Mallet", POLY,
      osc(1, "square", 0.5), osc(2, "sine", 0.5, offset=12), amps(0.0, 0.9, 0.1, 0.5),
      filt("bandpass", 1000, 2), reverb(0.25))
sound("Xylophone", "Bells and Mallets", "Mallet", POLY,
      osc(1, "triangle", 0.6, offset=12), osc(2, "sine", 0.4), amps(0.0, 0.7, 0.08, 0.5), reverb(0.3))
sound("Crystal Bell", "Bells and Mallets", "Bell", POLY,
      osc(1, "sine", 0.6), osc(2, "square", 0.1, offset=12), amps(0.0, 1.0, 0.1, 2.0),
      delay(0.25, sixteenths=3, feedback=0.4), reverb(0.35, size=0.8))
sound("Church Bell", "Bells and Mallets", "Bell", POLY,
      osc(1, "sine", 0.6, offset=-12), osc(2, "triangle", 0.35, offset=7, detune=30), amps(0.0, 1.0, 0.2, 2.5),
      reverb(0.45, size=0.9))
sound("Celesta", "Bells and Mallets", "Mallet", POLY,
      osc(1, "sine", 0.6, offset=12), osc(2, "triangle", 0.25), amps(0.0, 0.9, 0.1, 0.8), reverb(0.3))
sound("Wind Chimes", "Bells and Mallets", "Bell", POLY,
      osc(1, "sine", 0.55, offset=12), osc(2, "sine", 0.4, offset=12, detune=40), amps(0.0, 1.0, 0.0, 1.5),
      delay(0.3, seconds=0.7, feedback=0.4), reverb(0.45, size=0.9))

# FX and Atmospheres ----------------------------------------------------------------------
sound("Riser", "FX and Atmospheres", "Rise", POLY,
      osc(1, "saw", 0.5), osc(2, "saw", 0.5, detune=12), amps(0.8, 1.0, 1.0, 1.0),
      pitch_env(1, 12, 1.5), pitch_env(2, 12, 1.5), filt("lowpass", 3000, 3, env=(1.5, 1.0, 1.0, 1.0)),
      reverb(0.3))
sound("Laser Zap", "FX and Atmospheres", "Zap", POLY,
      osc(1, "square", 0.5, offset=12), amps(0.0, 0.6, 0.0, 0.3), pitch_env(1, 12, 0.15, down=True),
      delay(0.35, sixteenths=2, feedback=0.5), reverb(0.25))
sound("Alarm", "FX and Atmospheres", "Siren", MONO,
      osc(1, "square", 0.4), osc(2, "square", 0.3, offset=7), amps(0.0, 1.0, 1.0, 0.1),
      filt("lowpass", 2500), lfo("square", "pitch", 0.25, hz=2.5), play("mono"))
sound("UFO", "FX and Atmospheres", "Sci-fi", POLY,
      osc(1, "sine", 0.6), osc(2, "triangle", 0.4, offset=12), amps(0.3, 1.0, 1.0, 1.5),
      lfo("sine", "pitch", 0.06, hz=8.0), filt("highpass", 100), delay(0.3, seconds=0.3, feedback=0.5), reverb(0.3))
sound("Dark Drone", "FX and Atmospheres", "Drone", POLY,
      osc(1, "saw", 0.55), osc(2, "saw", 0.5, offset=-12, detune=8), amps(1.0, 1.0, 1.0, 2.5),
      filt("lowpass", 300, 8), lfo("sine", "filter", 0.6, hz=0.1), reverb(0.4, size=0.9))
sound("Space Echo", "FX and Atmospheres", "Echo", POLY,
      osc(1, "triangle", 0.6), osc(2, "sine", 0.3, offset=12), amps(0.0, 0.5, 0.3, 0.5),
      filt("highpass", 100), delay(0.45, seconds=0.55, feedback=0.7), reverb(0.3, size=0.8))
sound("Underwater", "FX and Atmospheres", "Filter LFO", POLY,
      osc(1, "saw", 0.55), osc(2, "square", 0.3, detune=-10), amps(0.2, 1.0, 0.9, 0.8),
      filt("lowpass", 600, 15), lfo("sine", "filter", 0.7, hz=0.5), reverb(0.3))
sound("Siren", "FX and Atmospheres", "Siren", MONO,
      osc(1, "sine", 0.55), osc(2, "square", 0.2), amps(0.05, 1.0, 1.0, 0.3),
      lfo("sawup", "pitch", 0.4, hz=0.5), reverb(0.2), play("mono"))
sound("Bubbles", "FX and Atmospheres", "Water", POLY,
      osc(1, "sine", 0.65), amps(0.0, 0.3, 0.0, 0.2), pitch_env(1, 12, 0.05),
      delay(0.45, sixteenths=1, feedback=0.6, swing=0.4), reverb(0.35))
sound("Wind Sweep", "FX and Atmospheres", "Wind", POLY,
      osc(1, "saw", 0.5), osc(2, "saw", 0.5, detune=25), amps(1.0, 1.0, 1.0, 2.0),
      filt("bandpass", 800, 20), lfo("sine", "filter", 0.8, hz=0.2), reverb(0.45, size=0.9))
sound("Haunted", "FX and Atmospheres", "Eerie", POLY,
      osc(1, "triangle", 0.55, detune=-40), osc(2, "triangle", 0.55, detune=40), amps(0.6, 1.0, 1.0, 2.0),
      lfo("sine", "pitch", 0.03, hz=0.7), reverb(0.5, size=0.9))
sound("Metal Scrape", "FX and Atmospheres", "Metallic", POLY,
      osc(1, "square", 0.5), osc(2, "square", 0.45, offset=6), amps(0.1, 1.0, 0.8, 1.0),
      filt("highpass", 2000, 10), lfo("sawdown", "filter", 0.6, hz=1.5), reverb(0.3))
sound("Broken Radio", "FX and Atmospheres", "Lo-fi", POLY,
      osc(1, "square", 0.55), osc(2, "saw", 0.4, detune=20), amps(0.0, 1.0, 0.9, 0.3),
      filt("bandpass", 1500, 8), lfo("square", "filter", 0.5, hz=6.0))

# Sequences -------------------------------------------------------------------------------
sound("Pumping Pad", "Sequences", "Sidechain", POLY,
      osc(1, "saw", 0.5, detune=-7), osc(2, "saw", 0.5, detune=7), amps(0.05, 1.0, 1.0, 0.5),
      filt("lowpass", 2000), lfo("pump", "amp", 1.0, sync="1/4"), reverb(0.2))
sound("Trance Gate", "Sequences", "Gate", POLY,
      osc(1, "saw", 0.5, detune=-9), osc(2, "saw", 0.5, detune=9), amps(0.0, 1.0, 1.0, 0.3),
      filt("lowpass", 2500), lfo("square", "amp", 1.0, sync="1/16"), reverb(0.25))
sound("Dotted Echo", "Sequences", "Echo", POLY,
      osc(1, "square", 0.55), amps(0.0, 0.5, 0.1, 0.2), filt("lowpass", 2500, 2, env=(0.0, 0.2, 0.1, 0.1)),
      delay(0.45, sixteenths=3, feedback=0.6))
sound("Swing Echo", "Sequences", "Echo", POLY,
      osc(1, "triangle", 0.6), osc(2, "square", 0.2, offset=12), amps(0.0, 0.5, 0.1, 0.2),
      delay(0.45, sixteenths=2, feedback=0.55, swing=0.5))
sound("Tempo Wobble", "Sequences", "Wobble", MONO,
      osc(1, "saw", 0.5), osc(2, "square", 0.4, offset=-12), amps(0.0, 1.0, 1.0, 0.1),
      filt("lowpass", 1200, 8), lfo("sine", "filter", 0.9, sync="1/4T"), play("mono"))
sound("Pulse Chords", "Sequences", "Sidechain", POLY,
      osc(1, "square", 0.45), osc(2, "saw", 0.45, detune=8), amps(0.0, 1.0, 1.0, 0.3),
      filt("lowpass", 1800), lfo("pump", "amp", 1.0, sync="1/8"))
sound("Step Filter", "Sequences", "Filter LFO", POLY,
      osc(1, "saw", 0.55), osc(2, "saw", 0.4, offset=12, detune=5), amps(0.0, 1.0, 1.0, 0.2),
      filt("lowpass", 2500, 6), lfo("sawdown", "filter", 0.8, sync="1/8", retrigger=True))
sound("Arp Echo", "Sequences", "Echo", POLY,
      osc(1, "saw", 0.5), amps(0.0, 0.4, 0.08, 0.15), filt("lowpass", 3000, 3, env=(0.0, 0.15, 0.05, 0.1)),
      delay(0.5, sixteenths=2, feedback=0.65))

# Percussion ------------------------------------------------------------------------------
sound("Synth Kick", "Percussion", "Kick", POLY,
      osc(1, "sine", 0.8, offset=12), amps(0.0, 0.7, 0.0, 0.3), pitch_env(1, 12, 0.07, down=True), reverb(0.2, size=0.5))
sound("Tom Drum", "Percussion", "Tom", POLY,
      osc(1, "sine", 0.7, offset=7), osc(2, "triangle", 0.3, offset=7), amps(0.0, 0.8, 0.0, 0.4),
      pitch_env(1, 7, 0.15, down=True), pitch_env(2, 7, 0.15, down=True), reverb(0.3))
sound("Laser Tom", "Percussion", "Tom", POLY,
      osc(1, "square", 0.55, offset=12), amps(0.0, 0.6, 0.0, 0.3), pitch_env(1, 12, 0.2, down=True),
      filt("lowpass", 2000), reverb(0.3))
sound("Cowbell", "Percussion", "Metallic", POLY,
      osc(1, "square", 0.5, offset=12), osc(2, "square", 0.45, offset=7, detune=40),
      amps(0.0, 0.6, 0.0, 0.2), filt("bandpass", 800, 3), reverb(0.25))
sound("Clave", "Percussion", "Wood", POLY,
      osc(1, "sine", 0.8, offset=12), amps(0.0, 0.3, 0.0, 0.3), delay(0.35, sixteenths=3, feedback=0.45), reverb(0.35))
sound("Wood Block", "Percussion", "Wood", POLY,
      osc(1, "square", 0.7, offset=12), amps(0.0, 0.35, 0.0, 0.3), filt("lowpass", 2500, 2), delay(0.35, sixteenths=2, feedback=0.5), reverb(0.3))
sound("Conga", "Percussion", "Hand drum", POLY,
      osc(1, "sine", 0.75, offset=2), osc(2, "triangle", 0.2), amps(0.0, 0.8, 0.0, 0.4),
      pitch_env(1, 3, 0.05, down=True), reverb(0.3))
sound("Zap Snare", "Percussion", "Snare", POLY,
      osc(1, "square", 0.5, offset=12), osc(2, "triangle", 0.4, offset=12, detune=45), amps(0.0, 0.6, 0.0, 0.4),
      pitch_env(1, 12, 0.03, down=True), filt("highpass", 300), reverb(0.45))
sound("Rim Shot", "Percussion", "Snare", POLY,
      osc(1, "square", 0.5, offset=12), osc(2, "sine", 0.5, offset=7), amps(0.0, 0.4, 0.0, 0.3),
      filt("highpass", 1200), delay(0.35, sixteenths=2, feedback=0.45), reverb(0.5, size=0.6))



# Writing ---------------------------------------------------------------------------------

def escape(text):
    return (text.replace("&", "&amp;").replace("\"", "&quot;").replace("<", "&lt;")
            .replace(">", "&gt;"))


def number(value):
    text = ("%.4f" % float(value)).rstrip("0").rstrip(".")
    return "0" if text in ("-0", "") else text


def element(program):
    """One PROGRAM element, laid out as the database writes it: an attribute starts a new
    line once the attributes on the line have taken more than 60 characters."""
    attributes = [("ID", str(uuid.uuid5(NAMESPACE, program["name"]))), ("Name", program["name"]),
                  ("Bank", "Factory"), ("Category", program["category"]), ("SubType", program["subtype"]),
                  ("Mode", program["mode"])]
    values = dict(PARAMETERS)
    values.update(program["values"])
    attributes += [(name, number(values[name])) for name in NAMES]

    text = "  <PROGRAM"
    line = 0
    for name, value in attributes:
        if line > 60:
            text += "\n" + " " * 10
            line = 0
        piece = ' %s="%s"' % (name, escape(value))
        text += piece
        line += len(piece)
    return text + "/>"


def main():
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "Factory.xml")
    body = "\n".join(element(program) for program in BANK)
    with open(path, "w", encoding="utf-8", newline="\n") as out:
        out.write('<?xml version="1.0" encoding="UTF-8"?>\n\n<VELMORA_DATABASE>\n' + body + "\n</VELMORA_DATABASE>\n")
    categories = {}
    for program in BANK:
        categories[program["category"]] = categories.get(program["category"], 0) + 1
    print("%s: %d programs; %s" % (path, len(BANK), ", ".join("%s %d" % c for c in categories.items())))


if __name__ == "__main__":
    main()
