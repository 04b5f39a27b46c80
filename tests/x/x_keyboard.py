"""Typing on a test X server. xdotool types a character that the keyboard map
lacks by remapping a key for a moment; a busy client may read the key after the
map has changed back and see another character. Characters mapped beforehand
are typed with their own keys instead."""
import subprocess

SPARE_KEYCODES = range(255, 200, -1)   # multimedia keys nobody presses in tests


def map_characters(text):
    """Gives every non-ASCII character of `text` a key of its own."""
    wanted = sorted({c for c in text if ord(c) > 0x7E})
    if len(wanted) > len(SPARE_KEYCODES):
        raise ValueError('too many distinct characters to map')
    expressions = []
    for keycode, character in zip(SPARE_KEYCODES, wanted):
        expressions += ['-e', f'keycode {keycode} = U{ord(character):04X}']
    if expressions:
        subprocess.run(['xmodmap', *expressions], check=True, timeout=20)


def type_text(text, delay_ms=60):
    map_characters(text)
    subprocess.run(['xdotool', 'type', '--delay', str(delay_ms), text], check=True, timeout=60)
