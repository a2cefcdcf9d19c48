"""Docking at the left, right and top edges, the bottom edge that never docks, and the
fade-out on close, driven from outside through the probe."""
import time

from quimbrel_e2e import QuimbrelCase, main

TOPMOST = 0x8
LAYERED = 0x80000


class Dock(QuimbrelCase):
    def rect(self, hwnd):
        return tuple(int(v) for v in self.probe.window(hwnd)['rect'].split(','))

    def exstyle(self, hwnd):
        return int(self.probe.window(hwnd)['exstyle'], 16)

    def wait_for(self, what, condition, timeout=15):
        deadline = time.time() + timeout
        while time.time() < deadline:
            value = condition()
            if value:
                return value
            time.sleep(0.1)
        self.fail(f'timed out waiting for {what}')

    def start_with_cursor_inside(self):
        hwnd = self.start()
        # The window never slides in before the cursor has been inside it once.
        self.probe.run('cursor', 500, 380)
        time.sleep(0.3)
        return hwnd

    def dock_and_return(self, hwnd, place, hidden, strip_point):
        self.probe.run('move', hwnd, *place)
        self.probe.run('cursor', 600, 700 if place[1] != 497 else 100)
        self.wait_for(f'hidden at {hidden}', lambda: self.rect(hwnd)[:2] == hidden)
        self.assertTrue(self.exstyle(hwnd) & TOPMOST, 'not topmost while hidden at an edge')
        self.probe.run('cursor', *strip_point)
        self.wait_for(f'back at {place}', lambda: self.rect(hwnd)[:2] == place)
        self.wait_for('topmost at the edge', lambda: self.exstyle(hwnd) & TOPMOST)

    def test_left_right_and_top_edges(self):
        hwnd = self.start_with_cursor_inside()
        self.dock_and_return(hwnd, (0, 100), (-269, 100), (0, 200))
        self.dock_and_return(hwnd, (754, 100), (1023, 100), (1023, 200))
        self.dock_and_return(hwnd, (300, 0), (300, -270), (400, 0))
        # Moved away from every edge, it is an ordinary window again.
        self.probe.run('move', hwnd, 400, 200)
        self.wait_for('not topmost away from the edges', lambda: not self.exstyle(hwnd) & TOPMOST)
        self.assertEqual(self.rect(hwnd), (400, 200, 270, 271))

    def test_bottom_edge_never_docks(self):
        hwnd = self.start_with_cursor_inside()
        self.probe.run('move', hwnd, 300, 497)
        self.probe.run('cursor', 100, 100)
        time.sleep(1.0)
        self.assertEqual(self.rect(hwnd), (300, 497, 270, 271))
        self.assertFalse(self.exstyle(hwnd) & TOPMOST)

    def test_close_fades_then_ends_with_zero(self):
        hwnd = self.start_with_cursor_inside()
        self.probe.run('close', hwnd)
        seen_layered = False
        while self.process.poll() is None:
            lines = self.probe.run('window', hwnd, check=False)
            record = dict(line.partition('=')[::2] for line in lines)
            if 'exstyle' in record and int(record['exstyle'], 16) & LAYERED:
                seen_layered = True
        self.assertTrue(seen_layered, 'the window was never seen layered while it closed')
        self.assertEqual(self.wait_exit(), 0)


if __name__ == '__main__':
    main()
