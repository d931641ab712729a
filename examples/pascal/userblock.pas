{ The sign of a number, written by user blocks: the statement part comes from userblock.fgd. }
program SignDemo;

procedure Sign(x: Integer);
{$I userblock.inc}

begin
  Sign(5);
  Sign(-3);
  Sign(0);
end.
